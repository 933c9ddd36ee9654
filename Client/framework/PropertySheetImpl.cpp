#include "framework/PropertySheetImpl.h"

#include "framework/CallbackBarrier.h"

#include <utility>

namespace {

// The sheet callback carries no pointer of its own, so the sheet object being run is found
// here. Set only while PropertySheetW runs on this thread; nested runs stack up through
// m_enclosingRun.
thread_local CPropertySheetImpl* t_running = nullptr;

} // namespace

CPropertySheetImpl::CPropertySheetImpl() noexcept {
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_USECALLBACK;
    m_psh.hInstance = ::GetModuleHandleW(nullptr);
    m_psh.nStartPage = 0;
    m_psh.pfnCallback = SheetCallback;
}

CPropertySheetImpl::~CPropertySheetImpl() {
    for (HPROPSHEETPAGE page : m_pages) {
        ::DestroyPropertySheetPage(page);
    }
}

bool CPropertySheetImpl::AddPage(CPropertyPageImpl& page) {
    HPROPSHEETPAGE handle = page.Create();
    if (handle == nullptr) {
        return false;
    }
    m_pages.push_back(handle);
    return true;
}

INT_PTR CPropertySheetImpl::DoModal(HWND owner) {
    m_psh.dwFlags &= ~static_cast<DWORD>(PSH_MODELESS);
    if (m_psh.hwndParent == nullptr) {
        m_psh.hwndParent = owner;
    }
    m_psh.nPages = static_cast<UINT>(m_pages.size());
    m_psh.phpage = m_pages.data();
    m_subclassFailed = false;
    m_enclosingRun = std::exchange(t_running, this);
    const INT_PTR result = ::PropertySheetW(&m_psh);
    t_running = std::exchange(m_enclosingRun, nullptr);
    m_psh.nPages = 0;
    m_psh.phpage = nullptr;
    // Whatever happened, the sheet has taken the handles over.
    m_pages.clear();
    return m_subclassFailed ? -1 : result;
}

int CALLBACK CPropertySheetImpl::SheetCallback(HWND window, UINT message, LPARAM) {
    if (message != PSCB_INITIALIZED || t_running == nullptr) {
        return 0;
    }
    return CallbackBarrier(0, [window] {
        CPropertySheetImpl* self = t_running;
        self->m_pages.clear();
        if (!self->SubclassWindow(window)) {
            // Unsubclassed, the sheet would never see its own messages, and the object has
            // no window to offer anyone: close it at once and report the run as failed.
            self->m_subclassFailed = true;
            ::PostMessageW(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            return 0;
        }
        self->OnSheetInitialized();
        return 0;
    });
}
