#include "framework/SimpleDialog.h"

#include <algorithm>

INT_PTR CSimpleDialogBase::DoModal(HWND owner) {
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), owner,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CSimpleDialogBase::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM,
                                             LRESULT& result) {
    if (message == WM_INITDIALOG) {
        if (m_centre) {
            CentreWindow(window);
        }
        result = TRUE;
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) >= IDOK && LOWORD(wParam) <= IDNO) {
        ::EndDialog(window, LOWORD(wParam));
        result = 0;
        return true;
    }
    return false;
}

void CentreWindow(HWND window) noexcept {
    HWND owner = ::GetWindow(window, GW_OWNER);
    const bool useOwner = owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(useOwner ? owner : window, MONITOR_DEFAULTTONEAREST),
                      &monitor);
    const RECT area = monitor.rcWork;
    RECT around = area;
    if (useOwner) {
        ::GetWindowRect(owner, &around);
    }
    RECT own{};
    ::GetWindowRect(window, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG left = (around.left + around.right - width) / 2;
    LONG top = (around.top + around.bottom - height) / 2;
    left = std::max(area.left, std::min(left, area.right - width));
    top = std::max(area.top, std::min(top, area.bottom - height));
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
