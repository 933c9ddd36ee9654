// Shows the main window's two cookie pages filled with sample domains, one after the other,
// for a screenshot of each. Writes the sheet's screen rectangle ("WxH+X+Y") and the page
// shown into the file given on the command line, then waits for the next step.
// Usage: page_shots GEOMETRY-FILE

#include "cookies/CCookieDomain.h"
#include "cookies/CDomainService.h"
#include "cookies/FileTime.h"
#include "framework/PropertySheetImpl.h"
#include "ui/CAllowedDlg.h"
#include "ui/CToReviewDlg.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr UINT_PTR stepTimer = 1;
constexpr UINT stepDelay = 6000;

constexpr const wchar_t* sites[] = {
    L"adnetwork.com",    L"analytics.net",     L"bigshop.com",     L"bookclub.org",
    L"cdn-pixel.net",    L"citynews.com",      L"cloudmail.com",   L"coupons.biz",
    L"dailyweather.com", L"deals4u.com",       L"doubletrack.net", L"exampleads.com",
    L"flashgames.com",   L"forum-central.org", L"gadgetblog.com",  L"hotelfinder.com",
    L"jobsearch.com",    L"localbank.com",     L"maps-online.com", L"movietimes.com",
    L"musicstream.fm",   L"newsportal.com",    L"photoshare.net",  L"quizland.com",
    L"recipes.org",      L"searchly.com",      L"socialhub.com",   L"sportsdaily.com",
    L"techreview.com",   L"traveldeals.com",   L"tubevideo.com",   L"university.edu",
    L"webstats.net",     L"wikistuff.org",     L"yourtickets.com", L"zoomchat.com",
};

class CSampleManager : public CDomainService {
public:
    CSampleManager() {
        const std::uint64_t now = CurrentFileTime();
        constexpr std::uint64_t minute = 600000000;
        std::uint32_t seed = 7;
        int n = 0;
        for (const wchar_t* site : sites) {
            CRefPtr<CCookieDomain> domain = CCookieDomain::Create(site);
            const unsigned cookies = 1 + (seed = seed * 1103515245u + 12345u) % 9;
            for (unsigned i = 0; i < cookies; ++i) {
                seed = seed * 1103515245u + 12345u;
                const std::uint64_t used = now - (seed % (60 * 24 * 90)) * minute;
                const FILETIME created = ToFileTime(used - (seed % (60 * 24 * 400)) * minute);
                domain->AddCookie(
                    n % 5 == 0 && i % 2 == 0
                        ? CFlashCookie::Create(L"C:\\f.sol", site, created, ToFileTime(used))
                        : CIECookie::Create(L"C:\\c.txt", site, created, ToFileTime(used),
                                            L"Cookie:u@site/"));
            }
            if (n % 4 == 1) {
                domain->SetAuthorized();
            }
            m_domains.push_back(domain);
            ++n;
        }
    }
    void RegisterWindow(HWND, CDomainList& domains) override { domains = m_domains; }
    void UnregisterWindow(HWND) override {}
    void DomainMessageTaken(HWND, const CCookieDomain&) override {}
    bool Refresh() override { return false; }
    CLoadProgress GetLoadProgress() override { return {}; }
    void GetDomains(CDomainList& domains) override { domains = m_domains; }
    bool AuthorizeDomain(const CRefPtr<CCookieDomain>&) override { return false; }
    bool DeleteDomain(const CRefPtr<CCookieDomain>&) override { return false; }
    void BeginDeleteBatch() override {}
    bool EndDeleteBatch() noexcept override { return true; }
    void DescribeDomain(const CRefPtr<CCookieDomain>&, CCookieDescriptions&) override {}

private:
    CDomainList m_domains;
};

class CShotSheet : public CPropertySheetImpl {
public:
    explicit CShotSheet(std::wstring geometryFile)
        : m_toReview(m_manager), m_allowed(m_manager), m_geometryFile(std::move(geometryFile)) {
        m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP | PSH_NOCONTEXTHELP;
        m_psh.pszCaption = L"Tollgate";
        AddPage(m_toReview);
        AddPage(m_allowed);
    }

protected:
    void OnSheetInitialized() override {
        CDomainList known;
        m_manager.RegisterWindow(m_hWnd, known);
        for (const CRefPtr<CCookieDomain>& domain : known) {
            (domain->IsAuthorized() ? static_cast<CCookieBaseDlg&>(m_allowed) : m_toReview)
                .AddOrQueueDomain(domain);
        }
        ::SetWindowPos(m_hWnd, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::SetTimer(m_hWnd, stepTimer, stepDelay, nullptr);
        WriteGeometry(0);
    }

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_TIMER && wParam == stepTimer) {
            if (++m_step == 1) {
                ::SendMessageW(window, PSM_SETCURSEL, 1, 0);
                WriteGeometry(1);
            } else {
                ::KillTimer(window, stepTimer);
                ::PostMessageW(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            }
            return true;
        }
        return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
    }

private:
    void WriteGeometry(int page) {
        RECT rect{};
        ::GetWindowRect(m_hWnd, &rect);
        if (FILE* file = _wfopen(m_geometryFile.c_str(), L"w")) {
            std::fwprintf(file, L"%ldx%ld+%ld+%ld %d\n", rect.right - rect.left,
                          rect.bottom - rect.top, rect.left, rect.top, page);
            std::fclose(file);
        }
    }

    CSampleManager m_manager;
    CToReviewDlg m_toReview;
    CAllowedDlg m_allowed;
    std::wstring m_geometryFile;
    int m_step = 0;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    CShotSheet sheet(commandLine);
    sheet.DoModal(nullptr);
    return 0;
}
