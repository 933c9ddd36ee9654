#pragma once

#include "cookies/CCookieSource.h"
#include "cookies/sources/CFileSystem.h"

#include <memory>
#include <string>
#include <vector>

// Flash local shared objects: the ".sol" files below
// "<roaming app data>\Macromedia\Flash Player\#SharedObjects". The second folder level below
// that root names the site.
class CFlashCookieSource final : public CCookieSource {
public:
    struct CFoundFile {
        std::wstring path;
        CFolderEntry entry;
    };
    // What a search found, and what it passed over: a folder link or a path beyond MAX_PATH
    // (never followed), or a folder that could not be listed.
    struct CSearchResult {
        std::vector<CFoundFile> files;
        bool refused = false;
        bool unread = false;
    };

    // Over the real file system.
    static CRefPtr<CCookieSource> Create();
    static CRefPtr<CCookieSource> Create(std::shared_ptr<CFileSystem> files);

    bool DeleteCookie(const CRefPtr<CCookie>& cookie) override;
    void Prepare() override;
    void Enumerate(CCookieSink& sink) override;
    // Each ".sol" file is one cookie, named by its path below the site folder.
    void DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions) override;

    // Every file below `folder` whose extension is `extension` (ignoring case), depth first.
    // Folder links are not followed, and what lies beyond MAX_PATH is passed over.
    CSearchResult FindFiles(const std::wstring& folder, const std::wstring& extension);

private:
    explicit CFlashCookieSource(std::shared_ptr<CFileSystem> files);

    void Search(const std::wstring& folder, const std::wstring& extension, CSearchResult& found);
    // True when the shell may be handed the folder: no link in it and no path too long.
    bool IsPlainTree(const std::wstring& folder);
    // Tells the user why `target` stays: a text of the string table naming it.
    static void ReportKept(UINT reasonId, const std::wstring& target);

    const std::shared_ptr<CFileSystem> m_files;
    std::wstring m_root;
};
