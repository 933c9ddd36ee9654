#pragma once

#include "cookies/CCookieSource.h"
#include "cookies/sources/CFileSystem.h"

#include <functional>
#include <memory>
#include <string>

// Flash local shared objects: the ".sol" files below
// "<roaming app data>\Macromedia\Flash Player\#SharedObjects". The second folder level below
// that root names the site.
class CFlashCookieSource final : public CCookieSource {
public:
    // What a search passed over: a folder link or a path beyond MAX_PATH (never followed), or
    // a folder that could not be listed.
    struct CSearchResult {
        bool refused = false;
        bool unread = false;
    };
    // Takes each file a search finds, as it finds it: the full path and the folder entry.
    using CFileFound = std::function<void(const std::wstring&, const CFolderEntry&)>;

    // Over the real file system.
    static CRefPtr<CCookieSource> Create();
    static CRefPtr<CCookieSource> Create(std::shared_ptr<CFileSystem> files);

    using CCookieSource::DeleteCookies;

    bool DeleteCookie(const CRefPtr<CCookie>& cookie) override;
    bool DeleteCookies(const CCookieList& cookies, CDeleteOutcome& outcome) override;
    void Prepare() override;
    void Enumerate(CCookieSink& sink) override;
    // Each ".sol" file is one cookie, named by its path below the site folder.
    void DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions) override;

    // Hands `found` every file below `folder` whose extension is `extension` (ignoring case),
    // depth first, as the walk reaches it: the first cookies show while the walk goes on.
    // Folder links are not followed, and what lies beyond MAX_PATH is passed over.
    CSearchResult FindFiles(const std::wstring& folder, const std::wstring& extension,
                            const CFileFound& found);

private:
    explicit CFlashCookieSource(std::shared_ptr<CFileSystem> files);

    void Search(const std::wstring& folder, const std::wstring& extension, const CFileFound& found,
                CSearchResult& result);
    // True when the shell may be handed the folder: no link in it and no path too long.
    bool IsPlainTree(const std::wstring& folder);
    // Removes the cookie's site folder, or the file alone where it has none; why it stays
    // goes to `kept`.
    bool DeleteSiteOf(CCookie& cookie, CStoreNotice& kept);

    const std::shared_ptr<CFileSystem> m_files;
    std::wstring m_root;
};
