#include "PageHarness.h"

#include "cookies/DomainMessages.h"
#include "cookies/FileTime.h"
#include "res/resource.h"
#include "support/FakeRestartManager.h"
#include "support/RecordedBrowser.h"
#include "support/RecordedMessages.h"
#include "ui/CMainDlg.h"
#include "ui/WindowIcons.h"

#include <commctrl.h>

#include <vector>

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

// The script of the main window being run on this thread.
thread_local const std::function<void(HWND)>* t_script = nullptr;
thread_local CFakeDomainService* t_service = nullptr;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    HWND sheet = t_service->window;
    (*t_script)(sheet);
    ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

} // namespace

void CPageTest::SetUp() {
    m_live = CRefCount::LiveObjects();
    TakeRecordedMessages();
    TakeBrowserRequests();
}

void CPageTest::TearDown() {
    service.domains.clear();
    EXPECT_EQ(m_live, CRefCount::LiveObjects());
}

void CFakeDomainService::RegisterWindow(HWND registered, CDomainList& copy) {
    window = registered;
    copy = domains;
}

void CFakeDomainService::UnregisterWindow(HWND) {
    window = nullptr;
}

void CFakeDomainService::GetDomains(CDomainList& copy) {
    ++domainCopies;
    copy = domains;
}

bool CFakeDomainService::AuthorizeDomain(const CRefPtr<CCookieDomain>& domain) {
    authorized.push_back(domain->GetName());
    if (beforeChange) {
        beforeChange(domain);
    }
    if (domain->GetName() == failOn) {
        return false;
    }
    domain->SetAuthorized();
    CRefPtr<CCookieDomain> posted = domain;
    ::PostMessageW(window, WM_DOMAIN_AUTHORIZED, reinterpret_cast<WPARAM>(posted.Detach()), 0);
    return true;
}

void CFakeDomainService::DescribeDomain(const CRefPtr<CCookieDomain>& domain,
                                        CCookieDescriptions& found) {
    described.push_back(domain->GetName());
    if (!descriptions.empty()) {
        found = descriptions;
        return;
    }
    CCookieList cookies;
    domain->GetCookies(cookies);
    for (const CRefPtr<CCookie>& cookie : cookies) {
        found.push_back({cookie->GetKind(),
                         L"",
                         cookie->GetHost(),
                         L"",
                         {},
                         cookie->GetLastUsed(),
                         cookie->GetCreated(),
                         cookie->GetFile(),
                         {}});
    }
}

void CFakeDomainService::BeginDeleteBatch() {
    ++batchesBegun;
}

bool CFakeDomainService::EndDeleteBatch() noexcept {
    ++batchesEnded;
    return batchLasts;
}

bool CFakeDomainService::DeleteDomain(const CRefPtr<CCookieDomain>& domain) {
    deleted.push_back(domain->GetName());
    if (batchesBegun == batchesEnded) {
        deletedAlone.push_back(domain->GetName());
    }
    if (beforeChange) {
        beforeChange(domain);
    }
    if (domain->GetName() == failOn) {
        return false;
    }
    std::erase_if(domains,
                  [&](const CRefPtr<CCookieDomain>& each) { return each.Get() == domain.Get(); });
    return true;
}

void RunMainWindow(CFakeDomainService& service, const std::function<void(HWND sheet)>& script) {
    CFakeRestartManager restart;
    RunMainWindow(service, script, restart);
}

void RunMainWindow(CFakeDomainService& service, const std::function<void(HWND sheet)>& script,
                   CRestartManager& restart) {
    CBrowserCloser closer(restart);
    t_script = &script;
    t_service = &service;
    // A thread timer: it fires inside the sheet's own modal loop once that loop runs.
    ::SetTimer(nullptr, 0, 0, RunScript);
    const CWindowIcons icons(::GetModuleHandleW(nullptr));
    CMainDlg window(service, icons, closer);
    window.DoModal(nullptr);
    t_script = nullptr;
    t_service = nullptr;
}

HWND WaitForOwnDialog(const wchar_t* caption) {
    for (int i = 0; i < 200; ++i) {
        HWND window = ::FindWindowW(L"#32770", caption);
        DWORD process = 0;
        if (window != nullptr && ::GetWindowThreadProcessId(window, &process) &&
            process == ::GetCurrentProcessId() && ::IsWindowVisible(window)) {
            return window;
        }
        ::Sleep(50);
    }
    return nullptr;
}

HWND ToReviewPage(HWND sheet) {
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_INDEXTOHWND, 0, 0));
}

HWND AllowedPage(HWND sheet) {
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_INDEXTOHWND, 1, 0));
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
    ClickHeader(ListOf(page), column);
    Pump();
}

void ClickHeader(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT rect{};
    ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(header, WM_LBUTTONUP, 0, at);
}

void PickFilter(HWND page, int position) {
    HWND combo = ::GetDlgItem(page, IDC_FILTER);
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_FILTER, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    Pump();
}
