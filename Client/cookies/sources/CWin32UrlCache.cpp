#include "cookies/sources/CWin32UrlCache.h"

#include "framework/UniqueHandle.h"

#include <cwctype>

namespace {

// Wine compares the pattern case-sensitively with its container prefix "Cookie:", so the
// documented "cookie:" finds nothing there. Only when a search finds nothing at all is it
// repeated with the container's own spelling; on Windows the first search already answers.
std::wstring WineSpelling(const std::wstring& pattern) {
    std::wstring spelling = pattern;
    if (!spelling.empty()) {
        spelling[0] = static_cast<wchar_t>(std::towupper(spelling[0]));
    }
    return spelling;
}

class CWin32UrlCacheSearch final : public CUrlCacheSearch {
public:
    explicit CWin32UrlCacheSearch(std::wstring pattern) : m_pattern(std::move(pattern)) {}

    DWORD Next(INTERNET_CACHE_ENTRY_INFOW* entry, DWORD& size) override {
        if (m_find) {
            return ::FindNextUrlCacheEntryW(m_find.Get(), entry, &size) ? ERROR_SUCCESS
                                                                        : ::GetLastError();
        }
        DWORD error = First(m_pattern, entry, size);
        if (error == ERROR_NO_MORE_ITEMS && !m_retried) {
            m_retried = true;
            const std::wstring spelling = WineSpelling(m_pattern);
            if (spelling != m_pattern) {
                m_pattern = spelling;
                error = First(m_pattern, entry, size);
            }
        }
        if (error != ERROR_NO_MORE_ITEMS) {
            // A search that found something keeps its spelling, also for a buffer retry.
            m_retried = true;
        }
        return error;
    }

private:
    DWORD First(const std::wstring& pattern, INTERNET_CACHE_ENTRY_INFOW* entry, DWORD& size) {
        const HANDLE find = ::FindFirstUrlCacheEntryW(pattern.c_str(), entry, &size);
        // Read before Reset: closing an earlier search may change the last error.
        const DWORD error = find != nullptr ? ERROR_SUCCESS : ::GetLastError();
        m_find.Reset(find);
        return error;
    }

    std::wstring m_pattern;
    bool m_retried = false;
    CUrlCacheFindHandle m_find;
};

} // namespace

std::unique_ptr<CUrlCacheSearch> CWin32UrlCache::Search(const std::wstring& pattern) {
    return std::make_unique<CWin32UrlCacheSearch>(pattern);
}

DWORD CWin32UrlCache::DeleteEntry(const std::wstring& url) {
    return ::DeleteUrlCacheEntryW(url.c_str()) ? ERROR_SUCCESS : ::GetLastError();
}
