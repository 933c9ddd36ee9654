#include "framework/SubclassedWindow.h"

#include "framework/CallbackBarrier.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR subclassId = 1;

} // namespace

bool CSubclassedWindow::SubclassWindow(HWND window) noexcept {
    if (m_hWnd != nullptr ||
        !::SetWindowSubclass(window, SubclassProc, subclassId, reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    m_hWnd = window;
    return true;
}

void CSubclassedWindow::UnsubclassWindow() noexcept {
    if (m_hWnd != nullptr) {
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, subclassId);
        m_hWnd = nullptr;
    }
}

CSubclassedWindow::~CSubclassedWindow() {
    UnsubclassWindow();
}

LRESULT CALLBACK CSubclassedWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<CSubclassedWindow*>(data);
    LRESULT result = 0;
    const bool handled = CallbackBarrier(
        false, [&] { return self->ProcessWindowMessage(window, message, wParam, lParam, result); });
    if (message == WM_NCDESTROY) {
        self->UnsubclassWindow();
        CallbackBarrier(0, [self] {
            self->OnFinalMessage();
            return 0;
        });
    }
    return handled ? result : ::DefSubclassProc(window, message, wParam, lParam);
}
