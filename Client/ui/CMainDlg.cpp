#include "ui/CMainDlg.h"

#include "app/WebPages.h"
#include "cookies/DomainMessages.h"
#include "framework/Dpi.h"
#include "res/resource.h"
#include "ui/CAboutDlg.h"
#include "ui/StatusText.h"
#include "res/StringLoader.h"
#include "ui/WindowPlacement.h"

#include <commctrl.h>

namespace {

// Posted to itself once the sheet is set up: by then the first page has its window.
constexpr UINT WM_SHEET_SHOWN = WM_APP + 16;
constexpr UINT_PTR StatusTimer = 1;
// The status line changes at most four times a second while a load runs.
constexpr UINT StatusInterval = 250;
constexpr UINT_PTR ChangesTimer = 2;
// Announced domains are read at the pages' repaint pace.
constexpr UINT ChangesInterval = 250;

} // namespace

CMainDlg::CMainDlg(CDomainService& service, const CWindowIcons& icons, CBrowserCloser& closer)
    : m_service(service), m_icons(icons), m_heldBrowsers(closer), m_allowedPage(service),
      m_toReviewPage(service), m_caption(LoadExpandedString(IDS_MAIN_CAPTION)) {
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
        } else if (LOWORD(wParam) == IDC_REFRESH) {
            Refresh();
        } else if (LOWORD(wParam) == IDC_NOTICE_BUTTON) {
            m_heldBrowsers.Press(m_service.GetLoadProgress().notices);
            ShowStatus();
        } else {
            return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam,
                                                            result);
        }
        break;
    case WM_SIZE:
        // The system's sheet sees it first: it lays itself out on it.
        result = ::DefSubclassProc(window, message, wParam, lParam);
        LayOut();
        return true;
    case WM_GETMINMAXINFO:
        if (m_layout.HomeSize().cx != 0) {
            const SIZE minimum = MinimumSize();
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum.cx, minimum.cy};
        }
        break;
    case WM_DPICHANGED:
        // On Windows the dialog manager scales the templates' controls and fonts first.
        result = ::DefSubclassProc(window, message, wParam, lParam);
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return true;
    case PSM_SETCURSEL:
        result = ::DefSubclassProc(window, message, wParam, lParam);
        LayOut();
        return true;
    case WM_NOTIFY:
        result = ::DefSubclassProc(window, message, wParam, lParam);
        // A page shown for the first time was made at the sheet's smallest size.
        if (reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE) {
            LayOut();
        }
        return true;
    case WM_DOMAIN_ADDED:
    case WM_DOMAIN_CHANGED:
    case WM_DOMAIN_AUTHORIZED:
        // Adopted first, so the message's reference is released whatever the page does.
        RouteDomain(message,
                    CRefPtr<CCookieDomain>::Adopt(reinterpret_cast<CCookieDomain*>(wParam)));
        break;
    case WM_LOADING_DONE:
        // Every cookie of the load has been added: what is collected is read in full.
        TakeChanges();
        ShowStatus();
        break;
    case WM_TIMER:
        if (wParam == ChangesTimer) {
            ReadChanges();
        } else {
            ShowStatus();
        }
        break;
    case WM_DRAWITEM:
        if (wParam != IDC_NOTICE_LINE) {
            return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam,
                                                            result);
        }
        m_noticeRow.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_SHEET_SHOWN:
        OnSheetShown();
        break;
    case WM_DESTROY:
        SaveWindowPlacement(window);
        ListenForRefreshKey(false);
        ::KillTimer(window, StatusTimer);
        m_service.UnregisterWindow(window);
        DropChanges();
        // The system's sheet frees its own state on it too.
        return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
    case WM_NCDESTROY:
        DropQueuedDomainMessages(window);
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
    if (message == WM_DOMAIN_ADDED) {
        // Shown at once; the cookies found until the next tick are read then.
        PageOf(*domain).AddOrQueueDomain(domain);
    }
    CollectChange(domain);
}

CCookieBaseDlg& CMainDlg::PageOf(CCookieDomain& domain) {
    return domain.IsAuthorized() ? static_cast<CCookieBaseDlg&>(m_allowedPage) : m_toReviewPage;
}

void CMainDlg::CollectChange(const CRefPtr<CCookieDomain>& domain) {
    m_changed.emplace(domain.Get(), domain);
    if (m_ticking) {
        return;
    }
    // A change after a quiet interval leads a burst and shows at once; from then on the ticks
    // read every collected domain until the load ends.
    m_ticking = true;
    ::SetTimer(m_hWnd, ChangesTimer, ChangesInterval, nullptr);
    if (::GetTickCount64() - m_lastRead >= ChangesInterval) {
        ReadChanges();
    }
}

void CMainDlg::ReadChanges() {
    m_lastRead = ::GetTickCount64();
    for (const auto& [address, domain] : m_changed) {
        PageOf(*domain).UpdateDomain(domain);
    }
}

void CMainDlg::TakeChanges() {
    std::unordered_map<const CCookieDomain*, CRefPtr<CCookieDomain>> changed;
    changed.swap(m_changed);
    DropChanges();
    m_lastRead = ::GetTickCount64();
    for (const auto& [address, domain] : changed) {
        m_service.DomainMessageTaken(m_hWnd, *address);
        PageOf(*domain).UpdateDomain(domain);
    }
}

// At a Refresh and at the end the manager forgets the window's marks itself.
void CMainDlg::DropChanges() {
    ::KillTimer(m_hWnd, ChangesTimer);
    m_ticking = false;
    m_changed.clear();
}

void CMainDlg::OnSheetInitialized() {
    m_icons.Apply(m_hWnd);
    m_dpi = WindowDpi(m_hWnd);
    m_font.SetModel(reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)), m_dpi);
    m_toReviewPage.SetDpi(m_dpi);
    m_allowedPage.SetDpi(m_dpi);
    MakeResizable();
    ReworkButtons();
    SetUpLayout();
    MakeRoomForStatus();
    m_restoreMaximized = RestoreWindowPlacement(m_hWnd, MinimumSize());
    CDomainList domains;
    m_service.RegisterWindow(m_hWnd, domains);
    // The manager holds no mark for these: a cookie found from now on is posted.
    for (const auto& domain : domains) {
        PageOf(*domain).AddOrQueueDomain(domain);
    }
    ShowStatus();
    ::PostMessageW(m_hWnd, WM_SHEET_SHOWN, 0, 0);
}

void CMainDlg::Refresh() {
    if (m_service.GetLoadProgress().loading) {
        return;
    }
    DropQueuedDomainMessages(m_hWnd);
    DropChanges();
    m_toReviewPage.DropAllDomains();
    m_allowedPage.DropAllDomains();
    if (m_service.Refresh()) {
        ShowStatus();
    }
}

// Nothing is posted after WM_DESTROY, but what was queued before would go with the window's
// queue, each message with the reference it carries.
void CMainDlg::DropQueuedDomainMessages(HWND window) {
    MSG message;
    while (::PeekMessageW(&message, window, WM_DOMAIN_ADDED, WM_LOADING_DONE, PM_REMOVE)) {
        if (message.message != WM_LOADING_DONE) {
            auto domain =
                CRefPtr<CCookieDomain>::Adopt(reinterpret_cast<CCookieDomain*>(message.wParam));
            if (message.message != WM_DOMAIN_AUTHORIZED) {
                m_service.DomainMessageTaken(window, *domain);
            }
        }
    }
}

void CMainDlg::ShowStatus() {
    const CLoadProgress progress = m_service.GetLoadProgress();
    ::SetWindowTextW(m_statusLine, StatusText(progress).c_str());
    std::wstring notices = NoticeLineText(progress);
    const std::wstring outcome = m_heldBrowsers.Outcome(progress.notices);
    if (!outcome.empty()) {
        notices += (notices.empty() ? L"" : L"  ") + outcome;
    }
    m_noticeRow.SetText(notices);
    ShowNoticeButton(m_heldBrowsers.Label(progress.notices));
    if (progress.loading) {
        ::SetTimer(m_hWnd, StatusTimer, StatusInterval, nullptr);
    } else {
        ::KillTimer(m_hWnd, StatusTimer);
    }
    ListenForRefreshKey(!progress.loading);
}

void CMainDlg::ListenForRefreshKey(bool listen) {
    // F5 does nothing while a load runs, and its hook would see every message of the load.
    if (!listen) {
        m_refreshKey.reset();
    } else if (!m_refreshKey) {
        m_refreshKey.emplace(m_hWnd, VK_F5, static_cast<WORD>(IDC_REFRESH));
    }
}
