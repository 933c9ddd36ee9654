#pragma once

#include "cookies/sources/CUrlCache.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

// A URL cache of our own making, for what the real one will not do on demand: names it
// would refuse, failing walks and deletions, and recording the buffer sizes it was offered.
class CFakeUrlCache final : public CUrlCache {
public:
    struct CEntry {
        std::wstring url;
        std::wstring file;
        FILETIME lastAccess{};
        bool nullUrl = false;
    };

    std::vector<CEntry> entries;
    // The walk fails with this code instead of reading the entry at this index.
    std::size_t failAt = SIZE_MAX;
    DWORD failWith = ERROR_SUCCESS;
    // The code DeleteEntry gives for a url; 0 when not listed.
    std::map<std::wstring, DWORD> deleteResults;
    std::vector<std::wstring> deleted;
    std::vector<DWORD> offered;

    std::unique_ptr<CUrlCacheSearch> Search(const std::wstring&) override {
        return std::make_unique<CSearch>(*this);
    }

    DWORD DeleteEntry(const std::wstring& url) override {
        deleted.push_back(url);
        const auto found = deleteResults.find(url);
        return found == deleteResults.end() ? ERROR_SUCCESS : found->second;
    }

private:
    class CSearch final : public CUrlCacheSearch {
    public:
        explicit CSearch(CFakeUrlCache& cache) : m_cache(cache) {}

        DWORD Next(INTERNET_CACHE_ENTRY_INFOW* entry, DWORD& size) override {
            m_cache.offered.push_back(size);
            if (m_next == m_cache.failAt) {
                return m_cache.failWith;
            }
            if (m_next >= m_cache.entries.size()) {
                return ERROR_NO_MORE_ITEMS;
            }
            const CEntry& source = m_cache.entries[m_next];
            const std::size_t urlBytes = (source.url.size() + 1) * sizeof(wchar_t);
            const std::size_t fileBytes = (source.file.size() + 1) * sizeof(wchar_t);
            const auto needed = static_cast<DWORD>(sizeof *entry + urlBytes + fileBytes);
            if (size < needed) {
                size = needed;
                return ERROR_INSUFFICIENT_BUFFER;
            }
            *entry = INTERNET_CACHE_ENTRY_INFOW{};
            entry->dwStructSize = sizeof *entry;
            auto* text = reinterpret_cast<wchar_t*>(entry + 1);
            std::memcpy(text, source.url.c_str(), urlBytes);
            entry->lpszSourceUrlName = source.nullUrl ? nullptr : text;
            text += source.url.size() + 1;
            std::memcpy(text, source.file.c_str(), fileBytes);
            entry->lpszLocalFileName = source.file.empty() ? nullptr : text;
            entry->LastAccessTime = source.lastAccess;
            size = needed;
            ++m_next;
            return ERROR_SUCCESS;
        }

    private:
        CFakeUrlCache& m_cache;
        std::size_t m_next = 0;
    };
};
