#include "ui/CMainDlg.h"

#include "app/WebPages.h"
#include "cookies/DomainMessages.h"
#include "res/resource.h"
#include "ui/CAboutDlg.h"
#include "ui/StringLoader.h"

namespace {

// Posted to itself once the sheet is set up: by then the first page has its window.
constexpr UINT WM_PLACE_BUTTONS = WM_APP + 16;

RECT ClientRectOf(HWND parent, HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

CMainDlg::CMainDlg(CDomainService& service, const CWindowIcons& icons)
    : m_service(service), m_icons(icons), m_allowedPage(service), m_toReviewPage(service),
      m_caption(LoadExpandedString(IDS_MAIN_CAPTION)) {
    m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP | PSH_NOCONTEXTHELP;
    m_psh.pszCaption = m_caption.c_str();
    AddPage(m_toReviewPage);
    AddPage(m_allowedPage);
}

bool CMainDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ABOUT) {
            CAboutDlg(m_icons).DoModal(window);
        } else if (LOWORD(wParam) == IDC_NEWS) {
            OpenNewsPage();
        } else {
            return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam,
                                                            result);
        }
        break;
    case WM_SIZE:
        KeepButtonsAtBottom(static_cast<short>(HIWORD(lParam)));
        // The system's sheet still sees it: it lays itself out and frees its own state on
        // these two, which answering them here would skip.
        return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
    case WM_DOMAIN_ADDED:
    case WM_DOMAIN_CHANGED:
    case WM_DOMAIN_AUTHORIZED:
        // Adopted first, so the message's reference is released whatever the page does.
        RouteDomain(message,
                    CRefPtr<CCookieDomain>::Adopt(reinterpret_cast<CCookieDomain*>(wParam)));
        break;
    case WM_PLACE_BUTTONS:
        PlaceButtonsInTabOrder();
        break;
    case WM_DESTROY:
        m_service.UnregisterWindow(window);
        return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
    case WM_NCDESTROY:
        ReleaseQueuedDomains(window);
        return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
    default:
        return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
    }
    result = 0;
    return true;
}

void CMainDlg::RouteDomain(UINT message, const CRefPtr<CCookieDomain>& domain) {
    if (message == WM_DOMAIN_AUTHORIZED) {
        m_allowedPage.AddOrQueueDomain(domain);
        return;
    }
    CCookieBaseDlg& page =
        domain->IsAuthorized() ? static_cast<CCookieBaseDlg&>(m_allowedPage) : m_toReviewPage;
    if (message == WM_DOMAIN_ADDED) {
        page.AddOrQueueDomain(domain);
    } else {
        page.UpdateDomain(domain);
    }
}

// Nothing is posted after WM_DESTROY, but what was queued before would go with the window's
// queue, each message with the reference it carries.
void CMainDlg::ReleaseQueuedDomains(HWND window) {
    MSG queued;
    while (::PeekMessageW(&queued, window, WM_DOMAIN_ADDED, WM_DOMAIN_AUTHORIZED, PM_REMOVE)) {
        CRefPtr<CCookieDomain>::Adopt(reinterpret_cast<CCookieDomain*>(queued.wParam));
    }
}

void CMainDlg::OnSheetInitialized() {
    m_icons.Apply(m_hWnd);
    ReworkButtons();
    CDomainList domains;
    m_service.RegisterWindow(m_hWnd, domains);
    for (const auto& domain : domains) {
        RouteDomain(WM_DOMAIN_ADDED, domain);
    }
}

void CMainDlg::ReworkButtons() {
    HWND ok = ::GetDlgItem(m_hWnd, IDOK);
    HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
    const RECT okRect = ClientRectOf(m_hWnd, ok);
    const RECT cancelRect = ClientRectOf(m_hWnd, cancel);
    const LONG gap = cancelRect.left - okRect.right;

    // The sheet relabels OK as its Close button and disables Cancel; Close then takes
    // Cancel's place, and Cancel stays enabled but hidden so that Esc still closes.
    ::SendMessageW(m_hWnd, PSM_CANCELTOCLOSE, 0, 0);
    ::ShowWindow(cancel, SW_HIDE);
    ::EnableWindow(cancel, TRUE);
    ::MoveWindow(ok, cancelRect.left, cancelRect.top, cancelRect.right - cancelRect.left,
                 cancelRect.bottom - cancelRect.top, TRUE);

    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_initialClientSize = {client.right - client.left, client.bottom - client.top};

    const RECT tabs = ClientRectOf(m_hWnd, ::GetDlgItem(m_hWnd, IDC_SHEET_TABS));
    const LONG width = cancelRect.right - cancelRect.left;
    const RECT aboutRect{tabs.left, cancelRect.top, tabs.left + width, cancelRect.bottom};
    const RECT newsRect{aboutRect.right + gap, aboutRect.top, aboutRect.right + gap + width,
                        aboutRect.bottom};
    m_aboutButton = AddButton(IDS_ABOUT_BUTTON, IDC_ABOUT, aboutRect);
    m_newsButton = AddButton(IDS_NEWS_BUTTON, IDC_NEWS, newsRect);
    // The buttons follow the "Not Authorized" page in the tab order, but this runs before the
    // sheet makes the page's window: they are put behind it once it exists.
    ::PostMessageW(m_hWnd, WM_PLACE_BUTTONS, 0, 0);
}

void CMainDlg::PlaceButtonsInTabOrder() {
    HWND after = m_toReviewPage.GetHwnd();
    for (HWND button : {m_aboutButton.window, m_newsButton.window}) {
        if (button != nullptr && after != nullptr) {
            ::SetWindowPos(button, after, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
            after = button;
        }
    }
}

CMainDlg::CAddedButton CMainDlg::AddButton(UINT textId, int id, const RECT& rect) {
    HWND button = ::CreateWindowExW(
        WS_EX_NOPARENTNOTIFY, L"BUTTON", LoadExpandedString(textId).c_str(),
        WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        ::GetModuleHandleW(nullptr), nullptr);
    if (button != nullptr) {
        ::SendMessageW(button, WM_SETFONT, ::SendMessageW(m_hWnd, WM_GETFONT, 0, 0), TRUE);
    }
    return {button, rect};
}

// Measured from where each button was made, so that repeated changes never add up.
void CMainDlg::KeepButtonsAtBottom(int clientHeight) {
    const int shift = clientHeight - m_initialClientSize.cy;
    for (const CAddedButton* button : {&m_aboutButton, &m_newsButton}) {
        if (button->window != nullptr) {
            const RECT& home = button->home;
            ::MoveWindow(button->window, home.left, home.top + shift, home.right - home.left,
                         home.bottom - home.top, TRUE);
        }
    }
}
