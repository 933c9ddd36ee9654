#include "PageHarness.h"

#include "cookies/DomainMessages.h"
#include "cookies/FileTime.h"
#include "res/resource.h"
#include "support/RecordedBrowser.h"
#include "support/RecordedMessages.h"

#include <commctrl.h>

namespace {

constexpr UINT WM_RUN_SCRIPT = WM_APP + 50;
constexpr std::int64_t ticksPerMinute = 600000000;

FILETIME Ago(std::int64_t minutes) {
    return ToFileTime(CurrentFileTime() - static_cast<std::uint64_t>(minutes * ticksPerMinute));
}

CRefPtr<CCookie> Cookie(std::uint32_t kind, FILETIME created, FILETIME used) {
    if (kind == KindBit(CookieKind::Flash)) {
        return CFlashCookie::Create(L"C:\\f.sol", L"www.example.com", created, used);
    }
    return CIECookie::Create(L"C:\\c.txt", L"www.example.com", created, used,
                             L"Cookie:user@www.example.com/");
}

} // namespace

void CPageTest::SetUp() {
    m_live = CRefCount::LiveObjects();
    TakeRecordedMessages();
    TakeBrowserRequests();
}

void CPageTest::TearDown() {
    manager.domains.clear();
    EXPECT_EQ(m_live, CRefCount::LiveObjects());
}

void CFakeManager::RegisterWindow(HWND registered, CDomainList& copy) {
    window = registered;
    copy = domains;
}

void CFakeManager::UnregisterWindow(HWND) {
    window = nullptr;
}

void CFakeManager::GetDomains(CDomainList& copy) {
    ++domainCopies;
    copy = domains;
}

bool CFakeManager::AuthorizeDomain(const CRefPtr<CCookieDomain>& domain) {
    authorized.push_back(domain->GetName());
    if (domain->GetName() == failOn) {
        return false;
    }
    domain->SetAuthorized();
    CRefPtr<CCookieDomain> posted = domain;
    ::PostMessageW(window, WM_DOMAIN_AUTHORIZED, reinterpret_cast<WPARAM>(posted.Detach()), 0);
    return true;
}

bool CFakeManager::DeleteDomain(const CRefPtr<CCookieDomain>& domain) {
    deleted.push_back(domain->GetName());
    return domain->GetName() != failOn;
}

CPageSheet::CPageSheet(CFakeManager& manager)
    : toReview(manager), allowed(manager), m_manager(manager) {
    m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP | PSH_NOCONTEXTHELP;
    m_psh.pszCaption = L"Tollgate";
    AddPage(toReview);
    AddPage(allowed);
}

void CPageSheet::Run(const std::function<void(HWND sheet)>& script) {
    m_script = script;
    DoModal(nullptr);
}

void CPageSheet::OnSheetInitialized() {
    CDomainList known;
    m_manager.RegisterWindow(m_hWnd, known);
    for (const CRefPtr<CCookieDomain>& domain : known) {
        (domain->IsAuthorized() ? static_cast<CCookieBaseDlg&>(allowed) : toReview)
            .AddOrQueueDomain(domain);
    }
    ::PostMessageW(m_hWnd, WM_RUN_SCRIPT, 0, 0);
}

bool CPageSheet::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) {
    if (message == WM_RUN_SCRIPT) {
        m_script(window);
        ::PostMessageW(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return true;
    }
    if (message == WM_DOMAIN_ADDED || message == WM_DOMAIN_CHANGED ||
        message == WM_DOMAIN_AUTHORIZED) {
        const auto domain = CRefPtr<CCookieDomain>::Adopt(reinterpret_cast<CCookieDomain*>(wParam));
        CCookieBaseDlg& page = message == WM_DOMAIN_AUTHORIZED || domain->IsAuthorized()
                                   ? static_cast<CCookieBaseDlg&>(allowed)
                                   : toReview;
        if (message == WM_DOMAIN_CHANGED) {
            page.UpdateDomain(domain);
        } else {
            page.AddOrQueueDomain(domain);
        }
        return true;
    }
    if (message == WM_DESTROY) {
        m_manager.UnregisterWindow(window);
    }
    return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
}

CRefPtr<CCookieDomain> MakeDomain(const std::wstring& name, unsigned cookies, std::int64_t usedAgo,
                                  std::int64_t createdAgo, std::uint32_t kinds) {
    CRefPtr<CCookieDomain> domain = CCookieDomain::Create(name);
    for (unsigned i = 0; i < cookies; ++i) {
        const std::uint32_t kind = (kinds == 3) ? (i % 2 ? 2u : 1u) : kinds;
        domain->AddCookie(Cookie(kind, Ago(createdAgo), Ago(usedAgo)));
    }
    return domain;
}

CRefPtr<CCookieDomain> MakeTimelessDomain(const std::wstring& name) {
    CRefPtr<CCookieDomain> domain = CCookieDomain::Create(name);
    domain->AddCookie(Cookie(1, FILETIME{}, FILETIME{}));
    return domain;
}

void AddCookie(const CRefPtr<CCookieDomain>& domain, std::uint32_t kind, std::int64_t usedAgo) {
    domain->AddCookie(Cookie(kind, Ago(usedAgo), Ago(usedAgo)));
}

void PostDomain(HWND sheet, UINT message, const CRefPtr<CCookieDomain>& domain) {
    CRefPtr<CCookieDomain> posted = domain;
    ::PostMessageW(sheet, message, reinterpret_cast<WPARAM>(posted.Detach()), 0);
    Pump();
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

HWND ListOf(HWND page) {
    return ::GetDlgItem(page, IDC_COOKIE_LIST);
}

std::vector<std::vector<std::wstring>> ReadRows(HWND page) {
    HWND list = ListOf(page);
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::vector<std::wstring>> rows;
    for (int row = 0; row < count; ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < 5; ++column) {
            wchar_t text[256] = {};
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 256;
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                           reinterpret_cast<LPARAM>(&item));
            cells.emplace_back(text);
        }
        rows.push_back(cells);
    }
    return rows;
}

std::vector<std::wstring> ReadColumn(HWND page, int column) {
    std::vector<std::wstring> cells;
    for (const auto& row : ReadRows(page)) {
        cells.push_back(row[static_cast<std::size_t>(column)]);
    }
    return cells;
}

std::wstring CountLabelText(HWND page) {
    wchar_t text[256] = {};
    ::GetWindowTextW(::GetDlgItem(page, IDC_COUNT_LABEL), text, 256);
    return text;
}

bool IsChecked(HWND page, int row) {
    return ::SendMessageW(ListOf(page), LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                          LVIS_STATEIMAGEMASK) == 0x2000;
}

void ToggleCheck(HWND page, int row) {
    HWND list = ListOf(page);
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    item.state = LVIS_FOCUSED | LVIS_SELECTED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    ::SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageW(list, WM_KEYUP, VK_SPACE, 0);
    Pump();
}

void ClickButton(HWND page, int id) {
    ::SendMessageW(::GetDlgItem(page, id), BM_CLICK, 0, 0);
    Pump();
}

void ClickColumn(HWND page, int column) {
    HWND header = reinterpret_cast<HWND>(::SendMessageW(ListOf(page), LVM_GETHEADER, 0, 0));
    RECT rect{};
    ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(header, WM_LBUTTONUP, 0, at);
    Pump();
}

void PickFilter(HWND page, int position) {
    HWND combo = ::GetDlgItem(page, IDC_FILTER);
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_FILTER, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    Pump();
}
