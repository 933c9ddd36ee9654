#include "cookies/sources/CFlashCookieSource.h"

#include "cookies/sources/CWin32FileSystem.h"
#include "store/Exceptions.h"

#include <shlwapi.h>

namespace {

constexpr wchar_t SharedObjects[] = L"Macromedia\\Flash Player\\#SharedObjects";

bool IsDots(const std::wstring& name) {
    return name == L"." || name == L"..";
}

// The shell's path functions work in MAX_PATH buffers; a longer path cannot be handled.
bool Fits(const std::wstring& path) {
    return path.size() < MAX_PATH;
}

// A folder is listed through "folder\*.*", which must fit as well.
bool CanList(const std::wstring& folder) {
    return Fits(folder + L"\\*.*");
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.back() == L'\\') {
        return folder + name;
    }
    return folder + L'\\' + name;
}

// The part of `relative` from its second component up to the next separator.
std::wstring SecondComponent(const std::wstring& relative) {
    const wchar_t* rest = ::PathFindNextComponentW(relative.c_str());
    if (rest == nullptr) {
        return std::wstring();
    }
    const wchar_t* end = rest;
    while (*end != L'\0' && ::PathGetCharTypeW(*end) != GCT_SEPARATOR) {
        ++end;
    }
    return std::wstring(rest, end);
}

// The part of `relative` after its first two components (the first-level and the site folder).
std::wstring BelowSiteFolder(const std::wstring& relative) {
    const wchar_t* site = ::PathFindNextComponentW(relative.c_str());
    const wchar_t* below = site != nullptr ? ::PathFindNextComponentW(site) : nullptr;
    return below != nullptr ? std::wstring(below) : std::wstring();
}

} // namespace

CRefPtr<CCookieSource> CFlashCookieSource::Create() {
    return Create(std::make_shared<CWin32FileSystem>());
}

CRefPtr<CCookieSource> CFlashCookieSource::Create(std::shared_ptr<CFileSystem> files) {
    return CRefPtr<CCookieSource>(new CFlashCookieSource(std::move(files)));
}

CFlashCookieSource::CFlashCookieSource(std::shared_ptr<CFileSystem> files)
    : CCookieSource(CookieKind::Flash), m_files(std::move(files)) {}

void CFlashCookieSource::Prepare() {
    m_root = Join(m_files->GetAppDataFolder(), SharedObjects);
}

CFlashCookieSource::CSearchResult CFlashCookieSource::FindFiles(const std::wstring& folder,
                                                                const std::wstring& extension,
                                                                const CFileFound& found) {
    CSearchResult result;
    Search(folder, extension, found, result);
    return result;
}

void CFlashCookieSource::Search(const std::wstring& folder, const std::wstring& extension,
                                const CFileFound& found, CSearchResult& result) {
    std::vector<CFolderEntry> entries;
    try {
        if (!m_files->ListFolder(folder, entries)) {
            return;
        }
    } catch (const CException&) {
        // A folder the user may not read hides only its own cookies.
        result.unread = true;
        return;
    }
    for (const CFolderEntry& entry : entries) {
        if (IsDots(entry.name)) {
            continue;
        }
        const std::wstring full = Join(folder, entry.name);
        const bool isFolder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool wanted =
            !isFolder && _wcsicmp(::PathFindExtensionW(entry.name.c_str()), extension.c_str()) == 0;
        if (!Fits(full)) {
            result.refused = result.refused || isFolder || wanted;
        } else if (isFolder) {
            // A folder link may point back up the tree: the search would never end.
            if ((entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && CanList(full)) {
                Search(full, extension, found, result);
            } else {
                result.refused = true;
            }
        } else if (wanted) {
            found(full, entry);
        }
    }
}

void CFlashCookieSource::Enumerate(CCookieSink& sink) {
    if (m_files->GetAttributes(m_root) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    const CSearchResult result = FindFiles(
        m_root, L".sol", [this, &sink](const std::wstring& file, const CFolderEntry& entry) {
            sink.AddCookie(CFlashCookie::Create(file,
                                                SecondComponent(file.substr(m_root.size() + 1)),
                                                entry.created, entry.lastAccess));
        });
    if (result.unread || result.refused) {
        CStoreNotice notice;
        notice.problem = CStoreProblem::FoldersUnread;
        notice.kind = CookieKind::Flash;
        notice.item = m_root;
        // The cookies of an unread folder were missed, not deleted: pruning now would drop
        // the authorizations of their sites.
        notice.skipped = result.unread;
        sink.AddNotice(notice);
    }
}

bool CFlashCookieSource::IsPlainTree(const std::wstring& folder) {
    std::vector<CFolderEntry> entries;
    if (!CanList(folder)) {
        return false;
    }
    if (!m_files->ListFolder(folder, entries)) {
        return true;
    }
    for (const CFolderEntry& entry : entries) {
        if (IsDots(entry.name)) {
            continue;
        }
        const std::wstring full = Join(folder, entry.name);
        if (!Fits(full) || (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            return false;
        }
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsPlainTree(full)) {
            return false;
        }
    }
    return true;
}

bool CFlashCookieSource::DeleteCookie(const CRefPtr<CCookie>& cookie) {
    CStoreNotice kept;
    return DeleteSiteOf(*cookie, kept);
}

bool CFlashCookieSource::DeleteCookies(const CCookieList& cookies, CDeleteOutcome& outcome) {
    for (const CRefPtr<CCookie>& cookie : cookies) {
        if (!DeleteSiteOf(*cookie, outcome.refusal)) {
            return false;
        }
        outcome.deleted.push_back(cookie);
    }
    return true;
}

bool CFlashCookieSource::DeleteSiteOf(CCookie& cookie, CStoreNotice& kept) {
    const std::wstring file = cookie.GetFile();
    const std::wstring host = cookie.GetHost();
    if (file.size() <= m_root.size()) {
        return false;
    }
    const std::wstring relative = file.substr(m_root.size() + 1);
    std::wstring target;
    if (host.empty()) {
        // A file directly in the root has no site folder: it goes alone, never the root.
        target = file;
    } else {
        const std::size_t first = relative.find(L'\\');
        target = Join(m_root, relative.substr(0, first + 1 + host.size()));
    }
    const DWORD attributes = m_files->GetAttributes(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // An earlier cookie of the same site folder has removed it already.
        return true;
    }
    // The shell fails on paths beyond MAX_PATH and follows links; Wine's shell then deletes the
    // contents of the current folder instead. Such a tree never reaches it.
    bool plain = false;
    bool inspected = true;
    try {
        plain = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
                ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || IsPlainTree(target));
    } catch (const CException&) {
        // A tree that cannot be inspected is not handed over either.
        inspected = false;
    }
    if (plain && m_files->DeleteTree(target)) {
        return true;
    }
    kept.problem = inspected && !plain ? CStoreProblem::FolderRefused : CStoreProblem::NotDeleted;
    kept.kind = CookieKind::Flash;
    kept.item = target;
    return false;
}

void CFlashCookieSource::DescribeCookies(const CCookieList& cookies,
                                         CCookieDescriptions& descriptions) {
    for (const CRefPtr<CCookie>& cookie : cookies) {
        CCookieDescription description = DescribeRecord(*cookie);
        const std::wstring& file = description.location;
        if (file.size() > m_root.size()) {
            description.name = BelowSiteFolder(file.substr(m_root.size() + 1));
        }
        // A file in the root or directly in a first-level folder is its own site.
        if (description.name.empty()) {
            description.name = ::PathFindFileNameW(file.c_str());
        }
        descriptions.push_back(std::move(description));
    }
}
