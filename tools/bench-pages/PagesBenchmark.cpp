// Loads 25,000 cookies over 3,000 domains into the live Not Authorized page the way a real
// load reaches it: a loading thread posts WM_DOMAIN_ADDED for each new domain and
// WM_DOMAIN_CHANGED for each further cookie, one message at a time, and the sheet hands
// them to the page. Then it sorts by every column both ways, checks all rows and deletes
// them all. Prints one figure a line; the last is page-fill-seconds.
// Usage: bench_pages [DOMAINS COOKIES]

#include "cookies/CCookieDomain.h"
#include "cookies/CDomainService.h"
#include "cookies/DomainMessages.h"
#include "cookies/FileTime.h"
#include "framework/PropertySheetImpl.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "ui/CAllowedDlg.h"
#include "ui/CToReviewDlg.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

constexpr UINT WM_LOADED = WM_APP + 50;

// Every deletion succeeds.
class CBenchManager : public CDomainService {
public:
    void RegisterWindow(HWND, CDomainList& domains) override { domains.clear(); }
    void UnregisterWindow(HWND) override {}
    void DomainMessageTaken(HWND, const CCookieDomain&) override {}
    bool Refresh() override { return false; }
    CLoadProgress GetLoadProgress() override { return {}; }
    void GetDomains(CDomainList& domains) override { domains.clear(); }
    bool AuthorizeDomain(const CRefPtr<CCookieDomain>&) override { return true; }
    bool DeleteDomain(const CRefPtr<CCookieDomain>&) override { return true; }
    void BeginDeleteBatch() override {}
    bool EndDeleteBatch() noexcept override { return true; }
    void DescribeDomain(const CRefPtr<CCookieDomain>&, CCookieDescriptions&) override {}
};

class CStopwatch {
public:
    CStopwatch() noexcept { ::QueryPerformanceCounter(&m_start); }
    double Seconds() const noexcept {
        LARGE_INTEGER now;
        LARGE_INTEGER frequency;
        ::QueryPerformanceCounter(&now);
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) /
               static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_start;
};

// A fixed pseudo-random sequence, so every run offers the same load.
class CSequence {
public:
    std::uint32_t Next() noexcept {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }

private:
    std::uint32_t m_state = 12345;
};

struct CLoad {
    HWND sheet;
    unsigned domains;
    unsigned cookies;
};

void Post(HWND sheet, UINT message, const CRefPtr<CCookieDomain>& domain) {
    CRefPtr<CCookieDomain> posted = domain;
    if (::PostMessageW(sheet, message, reinterpret_cast<WPARAM>(posted.Get()), 0)) {
        posted.Detach();
    }
}

// The loading thread: the first cookie of each domain adds it, the others land on known
// domains at random.
DWORD WINAPI Load(void* parameter) {
    const CLoad& load = *static_cast<const CLoad*>(parameter);
    CSequence random;
    const std::uint64_t now = CurrentFileTime();
    constexpr std::uint64_t year = 365ull * 24 * 60 * 60 * 10000000;
    std::vector<CRefPtr<CCookieDomain>> domains;
    for (unsigned i = 0; i < load.cookies; ++i) {
        const std::uint64_t used = now - random.Next() % year;
        const FILETIME created = ToFileTime(used - random.Next() % year);
        CRefPtr<CCookie> cookie =
            random.Next() % 4 == 0
                ? CFlashCookie::Create(L"C:\\f.sol", L"site", created, ToFileTime(used))
                : CIECookie::Create(L"C:\\c.txt", L"site", created, ToFileTime(used),
                                    L"Cookie:user@site/");
        const bool fresh =
            domains.size() < load.domains && (domains.empty() || random.Next() % 8 == 0 ||
                                              load.cookies - i <= load.domains - domains.size());
        if (fresh) {
            wchar_t name[32];
            std::swprintf(name, 32, L"site%05u.example", random.Next() % 100000);
            domains.push_back(CCookieDomain::Create(name));
            domains.back()->AddCookie(cookie);
            Post(load.sheet, WM_DOMAIN_ADDED, domains.back());
        } else {
            const CRefPtr<CCookieDomain>& domain = domains[random.Next() % domains.size()];
            domain->AddCookie(cookie);
            Post(load.sheet, WM_DOMAIN_CHANGED, domain);
        }
    }
    ::PostMessageW(load.sheet, WM_LOADED, 0, 0);
    return 0;
}

int RowCount(HWND page) {
    return static_cast<int>(
        ::SendMessageW(::GetDlgItem(page, IDC_COOKIE_LIST), LVM_GETITEMCOUNT, 0, 0));
}

void ClickColumn(HWND page, int column) {
    HWND header = reinterpret_cast<HWND>(
        ::SendMessageW(::GetDlgItem(page, IDC_COOKIE_LIST), LVM_GETHEADER, 0, 0));
    RECT rect{};
    ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(header, WM_LBUTTONUP, 0, at);
}

class CBenchSheet : public CPropertySheetImpl {
public:
    CBenchSheet(unsigned domains, unsigned cookies)
        : m_toReview(m_manager), m_allowed(m_manager), m_load{nullptr, domains, cookies} {
        m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP | PSH_NOCONTEXTHELP;
        m_psh.pszCaption = L"Tollgate";
        AddPage(m_toReview);
        AddPage(m_allowed);
    }

    int result = 1;

protected:
    void OnSheetInitialized() override {
        m_load.sheet = m_hWnd;
        m_fill = CStopwatch();
        m_loader.Reset(::CreateThread(nullptr, 0, Load, &m_load, 0, nullptr));
    }

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& answer) override {
        if (message == WM_DOMAIN_ADDED || message == WM_DOMAIN_CHANGED) {
            const CStopwatch handling;
            const auto domain =
                CRefPtr<CCookieDomain>::Adopt(reinterpret_cast<CCookieDomain*>(wParam));
            CCookieBaseDlg& page =
                domain->IsAuthorized() ? static_cast<CCookieBaseDlg&>(m_allowed) : m_toReview;
            if (message == WM_DOMAIN_ADDED) {
                page.AddOrQueueDomain(domain);
            } else {
                page.UpdateDomain(domain);
            }
            m_handling += handling.Seconds();
            return true;
        }
        if (message == WM_LOADED) {
            const double fillSeconds = m_fill.Seconds();
            ::WaitForSingleObject(m_loader.Get(), INFINITE);
            result = AfterLoad(fillSeconds);
            ::PostMessageW(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            return true;
        }
        return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam, answer);
    }

private:
    int AfterLoad(double fillSeconds) {
        HWND page = m_toReview.GetHwnd();
        const int rows = RowCount(page);
        wchar_t label[64] = {};
        ::GetWindowTextW(::GetDlgItem(page, IDC_COUNT_LABEL), label, 64);
        std::wprintf(L"rows %d of %u domains, label \"%ls\"\n", rows, m_load.domains, label);
        std::wprintf(L"page-handling-seconds %.3f\n", m_handling);

        const wchar_t* names[] = {L"source", L"last-used", L"created", L"type", L"count"};
        double sorting = 0;
        for (int column : {1, 2, 3, 4, 0}) {
            for (const wchar_t* click : {L"first", L"second"}) {
                const CStopwatch sort;
                ClickColumn(page, column);
                const double seconds = sort.Seconds();
                sorting += seconds;
                std::wprintf(L"sort-%ls-%ls-click-seconds %.3f\n", names[column], click, seconds);
            }
        }
        std::wprintf(L"sort-all-seconds %.3f\n", sorting);

        const CStopwatch check;
        ::SendMessageW(::GetDlgItem(page, IDC_CHECK_ALL), BM_CLICK, 0, 0);
        std::wprintf(L"check-all-seconds %.3f\n", check.Seconds());
        const CStopwatch removal;
        ::SendMessageW(::GetDlgItem(page, IDC_DELETE), BM_CLICK, 0, 0);
        std::wprintf(L"delete-all-seconds %.3f\n", removal.Seconds());
        const int left = RowCount(page);
        std::wprintf(L"rows left %d\n", left);
        std::wprintf(L"page-fill-seconds %.3f\n", fillSeconds);
        return rows == static_cast<int>(m_load.domains) && left == 0 ? 0 : 1;
    }

    CBenchManager m_manager;
    CToReviewDlg m_toReview;
    CAllowedDlg m_allowed;
    CLoad m_load;
    CStopwatch m_fill;
    CKernelHandle m_loader;
    double m_handling = 0;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    unsigned domains = 3000;
    unsigned cookies = 25000;
    if (argc == 3) {
        domains = static_cast<unsigned>(std::wcstoul(argv[1], nullptr, 10));
        cookies = static_cast<unsigned>(std::wcstoul(argv[2], nullptr, 10));
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    CBenchSheet sheet(domains, cookies);
    sheet.DoModal(nullptr);
    std::fflush(stdout);
    return sheet.result;
}
