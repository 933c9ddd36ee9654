// Measures the cookie manager's full load against the bare platform work it rests on, over a
// store of 20,000 browser cookies (3,000 domains) and 5,000 Flash files (1,000 site folders)
// built in the current prefix. Prints the figures; the last line is "load-ratio <x>".

#include "BrowserStoresBench.h"

#include "cookies/CookieManager.h"
#include "cookies/sources/CFlashCookieSource.h"
#include "cookies/sources/CIECookieSource.h"
#include "store/Exceptions.h"
#include "support/CookieStoreBuilder.h"
#include "support/MessageRecorder.h"
#include "support/RecordedMessages.h"

#include <windows.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

constexpr int Rounds = 3;
constexpr DWORD DrainPause = 10;

// The store's size; a scale below 1 on the command line shrinks it for quick looks.
struct CStoreSize {
    int browserCookies;
    int browserDomains;
    int flashFiles;
    int flashSites;
};

double Seconds() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void BuildStore(const CStoreSize& size) {
    CookieStore::Clear();
    FILETIME time;
    ::GetSystemTimeAsFileTime(&time);
    for (int i = 0; i < size.browserCookies; ++i) {
        const std::wstring host = L"www" + std::to_wstring(i / size.browserDomains) + L".site" +
                                  std::to_wstring(i % size.browserDomains) + L".com";
        CookieStore::AddBrowserCookie(
            {CookieStore::BrowserCookieUrl(host, L"/"), i % 10 != 0, time, time});
    }
    for (int i = 0; i < size.flashFiles; ++i) {
        const int site = i % size.flashSites;
        std::wstring path =
            L"FL" + std::to_wstring(site % 10) + L"\\site" + std::to_wstring(site) + L".net";
        for (int depth = 0; depth < i / size.flashSites; ++depth) {
            path += L"\\d" + std::to_wstring(depth);
        }
        CookieStore::AddFlashFile(path + L"\\s" + std::to_wstring(i) + L".sol", time);
    }
    for (int i = 0; i < 50; ++i) {
        CookieStore::AddAuthorizedValue(L"site" + std::to_wstring(i * 7) + L".com");
    }
}

// The same platform work as a load, without the manager: the cache walk with each entry's
// file test and times, and the recursive file search.
std::size_t WalkCache() {
    std::vector<BYTE> buffer(2048);
    std::size_t found = 0;
    for (const wchar_t* pattern : {L"cookie:", L"Cookie:"}) {
        DWORD size = static_cast<DWORD>(buffer.size() / 2);
        auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
        HANDLE find = ::FindFirstUrlCacheEntryW(pattern, entry, &size);
        while (find != nullptr || ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            if (find == nullptr) {
                buffer.resize(size * 3);
                entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
                find = ::FindFirstUrlCacheEntryW(pattern, entry, &size);
                continue;
            }
            for (;;) {
                ++found;
                if (entry->lpszLocalFileName != nullptr &&
                    ::GetFileAttributesW(entry->lpszLocalFileName) != INVALID_FILE_ATTRIBUTES) {
                    HANDLE file =
                        ::CreateFileW(entry->lpszLocalFileName, GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
                    FILETIME created;
                    FILETIME written;
                    ::GetFileTime(file, &created, nullptr, &written);
                    ::CloseHandle(file);
                }
                size = static_cast<DWORD>(buffer.size() / 2);
                if (!::FindNextUrlCacheEntryW(find, entry, &size)) {
                    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
                        break;
                    }
                    buffer.resize(size * 3);
                    entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
                    size = static_cast<DWORD>(buffer.size() / 2);
                    ::FindNextUrlCacheEntryW(find, entry, &size);
                }
            }
            ::FindCloseUrlCache(find);
            break;
        }
        if (found != 0) {
            break;
        }
    }
    return found;
}

std::size_t SearchFiles(const std::wstring& folder) {
    std::size_t found = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            found += SearchFiles(folder + L"\\" + name);
        } else if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".sol") == 0) {
            ++found;
        }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return found;
}

double PlatformWork(const CBrowserStoresBench& browsers, std::size_t& found) {
    const double start = Seconds();
    found = SearchFiles(CookieStore::FlashRoot());
    const double searched = Seconds();
    found += WalkCache();
    const double walked = Seconds();
    found += browsers.Read();
    const double end = Seconds();
    std::printf("  platform: file search %.0f ms, cache walk %.0f ms, browser databases %.0f ms\n",
                (searched - start) * 1000, (walked - searched) * 1000, (end - walked) * 1000);
    return end - start;
}

class CCountingSink final : public CCookieSink {
public:
    void AddCookie(const CRefPtr<CCookie>&) override { ++count; }
    void AddNotice(const std::wstring&) override {}
    void SkipStore(const std::wstring&) override {}
    std::size_t count = 0;
};

// Each source alone, without the manager, to tell where a load's time goes.
void SourcesAlone() {
    for (auto source : {CFlashCookieSource::Create(), CIECookieSource::Create()}) {
        CCountingSink sink;
        const double start = Seconds();
        source->Prepare();
        source->Enumerate(sink);
        std::printf("  source alone: %zu cookies in %.0f ms\n", sink.count,
                    (Seconds() - start) * 1000);
    }
}

// How the registered window's thread takes its messages: every few milliseconds, as a busy
// window thread would, or woken for every message as an idle one is.
enum class CDrain { NoWindow, Periodic, OnArrival };

double ManagerLoad(std::size_t& messages, std::size_t& domains, CDrain drain) {
    CMessageRecorder recorder;
    recorder.CountOnly();
    const double start = Seconds();
    CookieManager manager;
    manager.PrepareSources();
    CDomainList copy;
    if (drain != CDrain::NoWindow) {
        manager.RegisterWindow(recorder.Window(), copy);
    }
    manager.StartLoading();
    while (manager.IsLoading()) {
        recorder.Drain();
        if (drain == CDrain::OnArrival) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, DrainPause, QS_POSTMESSAGE);
        } else {
            ::Sleep(DrainPause);
        }
    }
    recorder.Drain();
    const double elapsed = Seconds() - start;
    manager.GetDomains(copy);
    messages = recorder.Count();
    domains = copy.size();
    manager.UnregisterWindow(recorder.Window());
    return elapsed;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const double scale = argc > 1 ? std::wcstod(argv[1], nullptr) : 1.0;
    const auto scaled = [scale](int count) { return std::max(1, static_cast<int>(count * scale)); };
    const CStoreSize size{scaled(20000), scaled(3000), scaled(5000), scaled(1000)};
    try {
        const double buildStart = Seconds();
        BuildStore(size);
        CBrowserStoresBench browsers;
        browsers.Build(scale);
        std::printf("store-build-s %.2f\n", Seconds() - buildStart);
        std::size_t found = 0;
        PlatformWork(browsers, found);
        SourcesAlone();
        std::size_t messages = 0;
        std::size_t domains = 0;
        std::printf("  manager without a window: %.0f ms\n",
                    ManagerLoad(messages, domains, CDrain::NoWindow) * 1000);
        std::vector<double> platform;
        std::vector<double> load;
        std::vector<double> woken;
        for (int round = 0; round < Rounds; ++round) {
            load.push_back(ManagerLoad(messages, domains, CDrain::Periodic));
            woken.push_back(ManagerLoad(messages, domains, CDrain::OnArrival));
            platform.push_back(PlatformWork(browsers, found));
            std::printf(
                "  round %d: manager %.0f ms (woken per message %.0f ms), platform %.0f ms\n",
                round + 1, load.back() * 1000, woken.back() * 1000, platform.back() * 1000);
        }
        for (const auto& message : TakeRecordedMessages()) {
            std::printf("message: %ls\n", message.text.c_str());
        }
        // The machine is shared: the fastest round is the one least disturbed.
        const double a = *std::min_element(load.begin(), load.end());
        const double b = *std::min_element(platform.begin(), platform.end());
        const double w = *std::min_element(woken.begin(), woken.end());
        std::printf("cookies %zu, messages %zu, domains %zu\n", found, messages, domains);
        std::printf("manager-load-ms %.1f (fastest of %d)\n", a * 1000, Rounds);
        std::printf("platform-work-ms %.1f (fastest of %d)\n", b * 1000, Rounds);
        std::printf("manager-load-woken-ms %.1f (fastest of %d)\n", w * 1000, Rounds);
        browsers.Measure();
        CookieStore::Clear();
        browsers.Clear();
        std::printf("load-ratio-woken-per-message %.2f\n", w / b);
        std::printf("load-ratio %.2f\n", a / b);
        return 0;
    } catch (const CException& e) {
        std::printf("failed: %ls\n", e.GetText().c_str());
        return 1;
    }
}
