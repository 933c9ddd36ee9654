#include "framework/PropertyPageImpl.h"

CPropertyPageImpl::CPropertyPageImpl(UINT templateId) noexcept {
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_USECALLBACK | PSP_HASHELP;
    m_psp.hInstance = ::GetModuleHandleW(nullptr);
    m_psp.pszTemplate = MAKEINTRESOURCEW(templateId);
    m_psp.pfnDlgProc = PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    m_psp.pfnCallback = PageCallback;
}

HPROPSHEETPAGE CPropertyPageImpl::Create() noexcept {
    return ::CreatePropertySheetPageW(&m_psp);
}

bool CPropertyPageImpl::ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM lParam,
                                             LRESULT& result) {
    if (message != WM_NOTIFY) {
        return false;
    }
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    const auto code = static_cast<int>(header->code);
    if (code > static_cast<int>(PSN_FIRST) || code < static_cast<int>(PSN_LAST)) {
        return false;
    }
    if (header->code == PSN_HELP) {
        ShowHelp();
    }
    // 0 accepts an activation, a deactivation, an apply and a cancel alike.
    result = 0;
    return true;
}

INT_PTR CALLBACK CPropertyPageImpl::PageProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The sheet passes its copy of the descriptor, which carries the page object.
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        Attach(window, reinterpret_cast<CPropertyPageImpl*>(page->lParam));
    }
    return Route(window, message, wParam, lParam);
}

UINT CALLBACK CPropertyPageImpl::PageCallback(HWND, UINT, PROPSHEETPAGEW*) {
    // Nonzero lets the sheet create the page (PSPCB_CREATE); the other codes ignore it.
    return 1;
}
