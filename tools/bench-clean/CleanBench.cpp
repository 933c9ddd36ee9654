// Times the unattended clean: Tollgate.exe -clean 30 over the whole benchmark store: 20,000
// cache cookies (3,000 sites), 5,000 Flash files (1,000 sites), and the load benchmark's
// browser databases (two Chromium profiles with 100,000 cookies and a Firefox profile with
// 30,000, over 8,000 sites); half of all sites last used 60 days ago. For comparison, the same
// store's full load and the deletes of the same sites, in-process, as the window does them.
// Prints the figures; the last line is "clean-seconds <x>".

#include "app/UnattendedClean.h"
#include "bench-load/BenchClock.h"
#include "bench-load/BrowserStoresBench.h"
#include "bench-load/ProgramWatch.h"
#include "cookies/CDeleteBatch.h"
#include "cookies/CookieManager.h"
#include "cookies/FileTime.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "support/BrowserStoreBuilder.h"
#include "support/CookieStoreBuilder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace {

constexpr std::uint64_t Day = 24ULL * 3600 * 10'000'000;
constexpr unsigned CleanDays = 30;

// Even sites were last used 60 days ago, odd ones now.
FILETIME SiteTime(int site) {
    const std::uint64_t now = CurrentFileTime();
    return ToFileTime(site % 2 == 0 ? now - 60 * Day : now);
}

void BuildStore(double scale) {
    const auto scaled = [scale](int count) { return std::max(2, static_cast<int>(count * scale)); };
    const int browserCookies = scaled(20000);
    const int browserSites = scaled(3000);
    const int flashFiles = scaled(5000);
    const int flashSites = scaled(1000);
    CookieStore::Clear();
    for (int i = 0; i < browserCookies; ++i) {
        const int site = i % browserSites;
        const FILETIME time = SiteTime(site);
        CookieStore::AddBrowserCookie(
            {CookieStore::BrowserCookieUrl(L"www" + std::to_wstring(i / browserSites) + L".site" +
                                           std::to_wstring(site) + L".com"),
             true, time, time});
    }
    for (int i = 0; i < flashFiles; ++i) {
        const int site = i % flashSites;
        CookieStore::AddFlashFile(L"FL" + std::to_wstring(site % 10) + L"\\site" +
                                      std::to_wstring(site) + L".net\\s" + std::to_wstring(i) +
                                      L".sol",
                                  SiteTime(site));
    }
    CBrowserStoresBench().Build(scale, SiteTime);
}

// Runs Tollgate.exe -clean 30 with its output thrown away; its exit code.
DWORD RunClean(double& seconds) {
    const std::wstring program = ProgramBesideThis();
    std::wstring commandLine = L"\"" + program + L"\" -clean " + std::to_wstring(CleanDays);
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE nowhere =
        ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nowhere;
    startup.hStdError = nowhere;
    PROCESS_INFORMATION info{};
    const double start = Seconds();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          nullptr, &startup, &info)) {
        ThrowLastError();
    }
    ::WaitForSingleObject(info.hProcess, INFINITE);
    seconds = Seconds() - start;
    DWORD code = 0;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    ::CloseHandle(nowhere);
    return code;
}

// The window's work for the same result: a full load, then a delete of every due site.
void LoadAndDelete(double& loadSeconds, double& deleteSeconds, std::size_t& due) {
    CookieManager manager;
    manager.PrepareSources();
    const double start = Seconds();
    manager.LoadHere(true);
    loadSeconds = Seconds() - start;
    CDomainList domains;
    manager.GetDomains(domains);
    const std::uint64_t now = CurrentFileTime();
    const double deleting = Seconds();
    due = 0;
    {
        // As the page's Delete does it: the stores stay open for all the sites.
        const CDeleteBatch batch(manager);
        for (const CRefPtr<CCookieDomain>& domain : domains) {
            if (IsDueForClean(domain->IsAuthorized(), ToUInt64(domain->GetLastUsed()), now,
                              CleanDays)) {
                ++due;
                manager.DeleteDomain(domain);
            }
        }
    }
    deleteSeconds = Seconds() - deleting;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const double scale = argc > 1 ? std::wcstod(argv[1], nullptr) : 1.0;
    try {
        double start = Seconds();
        BuildStore(scale);
        std::printf("store-build-s %.2f\n", Seconds() - start);
        double loadSeconds = 0;
        double deleteSeconds = 0;
        std::size_t due = 0;
        LoadAndDelete(loadSeconds, deleteSeconds, due);
        std::printf("sites-due %zu\n", due);
        std::printf("load-seconds %.2f\n", loadSeconds);
        std::printf("delete-seconds %.2f\n", deleteSeconds);

        start = Seconds();
        BuildStore(scale);
        std::printf("store-build-s %.2f\n", Seconds() - start);
        double cleanSeconds = 0;
        const DWORD code = RunClean(cleanSeconds);
        std::printf("clean-exit-code %lu\n", code);
        CookieStore::Clear();
        BrowserStores::Clear();
        std::printf("goal-seconds %.2f (load plus deletes)\n", loadSeconds + deleteSeconds);
        std::printf("clean-seconds %.2f\n", cleanSeconds);
        return 0;
    } catch (const CException& e) {
        std::printf("failed: %ls\n", e.GetText().c_str());
        return 1;
    }
}
