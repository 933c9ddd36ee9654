#include "cookies/FileTime.h"
#include "cookies/sources/CFlashCookieSource.h"
#include "cookies/sources/CWin32FileSystem.h"
#include "store/Exceptions.h"
#include "support/CookieStoreBuilder.h"
#include "support/ThrowAwayCurrentFolder.h"

#include "cookies/CookieRecorder.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr FILETIME Time(DWORD high, DWORD low = 0) {
    return FILETIME{low, high};
}

// The real file system, except for the failures asked for.
class CFailingFileSystem final : public CFileSystem {
public:
    std::wstring failListing;
    bool failDelete = false;
    std::vector<std::wstring> deleted;

    std::wstring GetAppDataFolder() override { return m_real.GetAppDataFolder(); }
    bool ListFolder(const std::wstring& folder, std::vector<CFolderEntry>& entries) override {
        if (folder == failListing) {
            throw CWin32Exception(ERROR_ACCESS_DENIED, std::wstring());
        }
        return m_real.ListFolder(folder, entries);
    }
    DWORD GetAttributes(const std::wstring& path) override { return m_real.GetAttributes(path); }
    void GetFileTimes(const std::wstring& path, FILETIME& created, FILETIME& written) override {
        m_real.GetFileTimes(path, created, written);
    }
    bool ReadSmallFile(const std::wstring& path, std::size_t limit,
                       std::string& contents) override {
        return m_real.ReadSmallFile(path, limit, contents);
    }
    bool DeleteTree(const std::wstring& path) override {
        deleted.push_back(path);
        return !failDelete && m_real.DeleteTree(path);
    }

private:
    CWin32FileSystem m_real;
};

class FlashCookieSource : public testing::Test {
protected:
    void SetUp() override {
        CookieStore::Clear();
        m_source->Prepare();
    }
    void TearDown() override {
        EXPECT_TRUE(m_folder.CanaryAlive());
        CookieStore::Clear();
    }

    // A site folder with a link back up to the root, and one that also holds a file deeper
    // than 260 characters; returns the .sol file of each that fits.
    static std::pair<std::wstring, std::wstring> AddLinkedAndDeepSites() {
        const auto linked = CookieStore::AddFlashFile(L"AB12\\linked.net\\x.sol", Time(0x01d80000));
        CookieStore::AddFlashLink(L"AB12\\linked.net\\back", CookieStore::FlashRoot());
        std::wstring deepFolder = L"AB12\\deep.net";
        while (CookieStore::FlashRoot().size() + deepFolder.size() < 300) {
            deepFolder += L"\\" + std::wstring(20, L'd');
        }
        const auto deep = CookieStore::AddFlashFile(L"AB12\\deep.net\\s.sol", Time(0x01d80000));
        CookieStore::AddFlashFile(deepFolder + L"\\far.sol", Time(0x01d80000));
        return {linked, deep};
    }

    std::map<std::wstring, CRefPtr<CCookie>> EnumerateByFile() {
        CCookieRecorder recorder;
        m_source->Enumerate(recorder);
        std::map<std::wstring, CRefPtr<CCookie>> byFile;
        for (const auto& cookie : recorder.cookies) {
            EXPECT_EQ(CookieKind::Flash, cookie->GetKind());
            byFile[cookie->GetFile()] = cookie;
        }
        EXPECT_EQ(recorder.cookies.size(), byFile.size()) << "a file came twice";
        return byFile;
    }

    static bool Exists(const std::wstring& path) {
        return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    CThrowAwayCurrentFolder m_folder;
    std::shared_ptr<CFailingFileSystem> m_files = std::make_shared<CFailingFileSystem>();
    CRefPtr<CCookieSource> m_source = CFlashCookieSource::Create(m_files);
};

} // namespace

TEST_F(FlashCookieSource, TheSecondFolderLevelNamesTheSiteAtAnyDepth) {
    const auto site = CookieStore::AddFlashFile(L"AB12\\site.net\\x.sol", Time(0x01d81111, 7));
    const auto deep =
        CookieStore::AddFlashFile(L"AB12\\site.net\\a\\b\\c\\y.SOL", Time(0x01d82222));
    CookieStore::AddFlashFile(L"AB12\\site.net\\z.sol.bak", Time(0x01d80000));
    CookieStore::AddFlashFile(L"AB12\\site.net\\sol", Time(0x01d80000));
    const auto inSolFolder = CookieStore::AddFlashFile(L"CD34\\box.sol\\w.sol", Time(0x01d83333));
    const auto direct = CookieStore::AddFlashFile(L"CD34\\direct.sol", Time(0x01d84444));
    const auto inRoot = CookieStore::AddFlashFile(L"root.sol", Time(0x01d85555));

    auto cookies = EnumerateByFile();
    ASSERT_EQ(5u, cookies.size());
    EXPECT_EQ(L"site.net", cookies[site]->GetHost());
    EXPECT_EQ(ToUInt64(Time(0x01d81111, 7)), ToUInt64(cookies[site]->GetCreated()));
    EXPECT_EQ(ToUInt64(Time(0x01d81111, 7)), ToUInt64(cookies[site]->GetLastUsed()));
    EXPECT_EQ(L"site.net", cookies[deep]->GetHost());
    EXPECT_EQ(L"box.sol", cookies[inSolFolder]->GetHost());
    EXPECT_EQ(L"direct.sol", cookies[direct]->GetHost());
    EXPECT_EQ(L"", cookies[inRoot]->GetHost());
}

TEST_F(FlashCookieSource, NoSharedObjectsFolderMeansNoCookies) {
    EXPECT_TRUE(EnumerateByFile().empty());
}

TEST_F(FlashCookieSource, LinksAreNotFollowedAndOverlongPathsArePassedOver) {
    const auto [kept, shallow] = AddLinkedAndDeepSites();

    auto cookies = EnumerateByFile();
    EXPECT_EQ(2u, cookies.size());
    EXPECT_TRUE(cookies[kept]);
    EXPECT_TRUE(cookies[shallow]);
}

TEST_F(FlashCookieSource, AFolderThatCannotBeListedEndsTheEnumeration) {
    CookieStore::AddFlashFile(L"AB12\\a.net\\x.sol", Time(0x01d80000));
    m_files->failListing = CookieStore::FlashRoot() + L"\\AB12";
    CCookieRecorder recorder;
    EXPECT_THROW(m_source->Enumerate(recorder), CWin32Exception);
}

TEST_F(FlashCookieSource, DeletingRemovesTheSiteFolderOnce) {
    CookieStore::AddFlashFile(L"AB12\\site.net\\x.sol", Time(0x01d80000));
    CookieStore::AddFlashFile(L"AB12\\site.net\\sub\\y.sol", Time(0x01d80000));
    const auto other = CookieStore::AddFlashFile(L"AB12\\other.net\\z.sol", Time(0x01d80000));
    CCookieRecorder recorder;
    m_source->Enumerate(recorder);
    ASSERT_EQ(3u, recorder.cookies.size());
    for (const auto& cookie : recorder.cookies) {
        if (cookie->GetHost() == L"site.net") {
            EXPECT_TRUE(m_source->DeleteCookie(cookie));
        }
    }
    EXPECT_EQ(1u, m_files->deleted.size()) << "the second found the folder gone";
    EXPECT_FALSE(Exists(CookieStore::FlashRoot() + L"\\AB12\\site.net"));
    EXPECT_TRUE(Exists(other));
}

TEST_F(FlashCookieSource, AFileOutsideASiteFolderGoesAloneNeverTheRoot) {
    const auto inRoot = CookieStore::AddFlashFile(L"root.sol", Time(0x01d80000));
    const auto direct = CookieStore::AddFlashFile(L"AB12\\direct.sol", Time(0x01d80000));
    const auto other = CookieStore::AddFlashFile(L"AB12\\site.net\\x.sol", Time(0x01d80000));
    auto cookies = EnumerateByFile();
    EXPECT_TRUE(m_source->DeleteCookie(cookies[inRoot]));
    EXPECT_TRUE(m_source->DeleteCookie(cookies[direct]));
    EXPECT_FALSE(Exists(inRoot));
    EXPECT_FALSE(Exists(direct));
    EXPECT_TRUE(Exists(other));

    const auto again = CookieStore::AddFlashFile(L"root.sol", Time(0x01d80000));
    m_files->failDelete = true;
    EXPECT_FALSE(m_source->DeleteCookie(EnumerateByFile()[again]));
    EXPECT_TRUE(Exists(again));
}

TEST_F(FlashCookieSource, ASiteFolderWithALinkOrAnOverlongPathNeverReachesTheShell) {
    const auto [linked, deep] = AddLinkedAndDeepSites();

    auto cookies = EnumerateByFile();
    EXPECT_FALSE(m_source->DeleteCookie(cookies[linked]));
    EXPECT_FALSE(m_source->DeleteCookie(cookies[deep]));
    EXPECT_TRUE(m_files->deleted.empty());
    EXPECT_TRUE(Exists(linked));
    EXPECT_TRUE(Exists(deep));
}

TEST_F(FlashCookieSource, NamesEachFileByItsPathBelowTheSiteFolder) {
    const auto nested =
        CookieStore::AddFlashFile(L"AB12\\www.game.com\\levels\\save.sol", Time(0x01d80000, 5));
    const auto direct =
        CookieStore::AddFlashFile(L"AB12\\www.game.com\\prefs.sol", Time(0x01d80000, 6));
    const auto ownSite = CookieStore::AddFlashFile(L"AB12\\loose.sol", Time(0x01d80000));
    CCookieRecorder recorder;
    m_source->Enumerate(recorder);
    CCookieDescriptions found;
    m_source->DescribeCookies(recorder.cookies, found);
    ASSERT_EQ(3u, found.size());
    std::map<std::wstring, CCookieDescription> byFile;
    for (const CCookieDescription& each : found) {
        EXPECT_EQ(CookieKind::Flash, each.kind);
        EXPECT_EQ(L"", each.path);
        EXPECT_EQ(0u, ToUInt64(each.expires));
        byFile[each.location] = each;
    }
    EXPECT_EQ(L"levels\\save.sol", byFile[nested].name);
    EXPECT_EQ(L"www.game.com", byFile[nested].host);
    EXPECT_EQ(ToUInt64(Time(0x01d80000, 5)), ToUInt64(byFile[nested].created));
    EXPECT_EQ(L"prefs.sol", byFile[direct].name);
    EXPECT_EQ(L"loose.sol", byFile[ownSite].name);
    EXPECT_EQ(L"loose.sol", byFile[ownSite].host);
}
