#include "cookies/sources/CIECookieSource.h"

#include "cookies/sources/CookieFile.h"
#include "cookies/sources/CWin32FileSystem.h"
#include "cookies/sources/CWin32UrlCache.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"

#include <vector>

namespace {

constexpr DWORD FirstDeclaredSize = 1024;
// No cookie entry comes near this; a cache that asks for more is failing.
constexpr DWORD LargestNeed = 64 * 1024 * 1024;

// The entry buffer. The cache is told `declared` bytes; the block behind it is twice that.
class CEntryBuffer {
public:
    CEntryBuffer() : m_declared(FirstDeclaredSize), m_bytes(2 * FirstDeclaredSize) {}

    INTERNET_CACHE_ENTRY_INFOW* Entry() {
        return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(m_bytes.data());
    }
    DWORD Declared() const noexcept { return m_declared; }

    // Makes room for an entry of `needed` bytes, with half as much again to spare. A need
    // that is no larger than what was offered would only repeat the same call for ever.
    void Grow(DWORD needed) {
        if (needed <= m_declared || needed > LargestNeed) {
            ThrowIfWin32Error(ERROR_INSUFFICIENT_BUFFER);
        }
        m_declared = needed + needed / 2;
        m_bytes.assign(2 * static_cast<std::size_t>(m_declared), 0);
    }

private:
    DWORD m_declared;
    std::vector<BYTE> m_bytes;
};

// Reads the next entry, growing the buffer for as long as the cache says it is too small.
DWORD ReadNext(CUrlCacheSearch& search, CEntryBuffer& buffer) {
    for (;;) {
        DWORD size = buffer.Declared();
        const DWORD error = search.Next(buffer.Entry(), size);
        if (error != ERROR_INSUFFICIENT_BUFFER) {
            return error;
        }
        buffer.Grow(size);
    }
}

// What follows the user name: "host/path".
std::wstring PlaceOfUrl(const std::wstring& url) {
    const std::size_t at = url.find(L'@');
    return at == std::wstring::npos ? url : url.substr(at + 1);
}

std::wstring HostOfUrl(const std::wstring& url) {
    std::wstring host = PlaceOfUrl(url);
    const std::size_t slash = host.find(L'/');
    if (slash != std::wstring::npos) {
        host.erase(slash);
    }
    return host;
}

std::wstring PathOfUrl(const std::wstring& url) {
    const std::wstring place = PlaceOfUrl(url);
    const std::size_t slash = place.find(L'/');
    return slash == std::wstring::npos ? std::wstring() : place.substr(slash);
}

} // namespace

CRefPtr<CCookieSource> CIECookieSource::Create() {
    return Create(std::make_shared<CWin32UrlCache>(), std::make_shared<CWin32FileSystem>());
}

CRefPtr<CCookieSource> CIECookieSource::Create(std::shared_ptr<CUrlCache> cache,
                                               std::shared_ptr<CFileSystem> files) {
    return CRefPtr<CCookieSource>(new CIECookieSource(std::move(cache), std::move(files)));
}

CIECookieSource::CIECookieSource(std::shared_ptr<CUrlCache> cache,
                                 std::shared_ptr<CFileSystem> files)
    : CCookieSource(CookieKind::IE), m_cache(std::move(cache)), m_files(std::move(files)) {}

void CIECookieSource::Enumerate(CCookieSink& sink) {
    CEntryBuffer buffer;
    DWORD error = ERROR_SUCCESS;
    bool timesUnread = false;
    // Handed over only once the walk has reached the end: a cache listed in part would pass
    // for the whole of it.
    CCookieList cookies;
    {
        const std::unique_ptr<CUrlCacheSearch> search = m_cache->Search(L"cookie:");
        for (error = ReadNext(*search, buffer); error == ERROR_SUCCESS;
             error = ReadNext(*search, buffer)) {
            cookies.push_back(CookieFromEntry(*buffer.Entry(), timesUnread));
        }
    }
    if (error != ERROR_NO_MORE_ITEMS) {
        throw CWin32Exception(error, std::wstring());
    }
    if (timesUnread) {
        CStoreNotice notice;
        notice.problem = CStoreProblem::FilesUnread;
        sink.AddNotice(notice);
    }
    for (const CRefPtr<CCookie>& cookie : cookies) {
        sink.AddCookie(cookie);
    }
}

CRefPtr<CCookie> CIECookieSource::CookieFromEntry(const INTERNET_CACHE_ENTRY_INFOW& entry,
                                                  bool& timesUnread) {
    const std::wstring file = entry.lpszLocalFileName ? entry.lpszLocalFileName : L"";
    const std::wstring url = entry.lpszSourceUrlName ? entry.lpszSourceUrlName : L"";
    FILETIME created{};
    FILETIME lastUsed{};
    const DWORD error =
        file.empty() ? DWORD(ERROR_FILE_NOT_FOUND) : m_files->GetFileTimes(file, created, lastUsed);
    if (error != ERROR_SUCCESS) {
        // A file that is there but keeps its times to itself still holds a cookie: it loads
        // like one without a file, and the user hears that some times are missing.
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            timesUnread = true;
        }
        created = FILETIME{};
        lastUsed = entry.LastAccessTime;
    }
    return CIECookie::Create(file, HostOfUrl(url), created, lastUsed, url);
}

bool CIECookieSource::DeleteCookie(const CRefPtr<CCookie>& cookie) {
    CDeleteOutcome outcome;
    return DeleteCookies(CCookieList{cookie}, outcome);
}

bool CIECookieSource::DeleteCookies(const CCookieList& cookies, CDeleteOutcome& outcome) {
    for (const CRefPtr<CCookie>& cookie : cookies) {
        // The manager hands this source only cookies of its own kind.
        const DWORD error = m_cache->DeleteEntry(static_cast<CIECookie&>(*cookie).GetUrl());
        if (error != ERROR_SUCCESS && error != ERROR_ACCESS_DENIED &&
            error != ERROR_FILE_NOT_FOUND) {
            outcome.refusal.problem = CStoreProblem::WriteFailed;
            outcome.refusal.reason = CWin32Exception(error, std::wstring()).GetText();
            return false;
        }
        outcome.deleted.push_back(cookie);
    }
    return true;
}

void CIECookieSource::DescribeCookies(const CCookieList& cookies,
                                      CCookieDescriptions& descriptions) {
    std::string text;
    std::vector<CCookieFileRecord> records;
    for (const CRefPtr<CCookie>& cookie : cookies) {
        const CCookieDescription known = DescribeRecord(*cookie);
        if (known.location.empty() ||
            !m_files->ReadSmallFile(known.location, LargestCookieFile, text) ||
            !ParseCookieFile(text, records)) {
            CCookieDescription entry = known;
            entry.path = PathOfUrl(static_cast<CIECookie&>(*cookie).GetUrl());
            descriptions.push_back(std::move(entry));
            continue;
        }
        for (CCookieFileRecord& record : records) {
            CCookieDescription description = known;
            description.name = std::move(record.name);
            description.host = std::move(record.host);
            description.path = std::move(record.path);
            description.expires = record.expires;
            description.created = record.created;
            descriptions.push_back(std::move(description));
        }
    }
}
