#include "cookies/FileTime.h"
#include "cookies/sources/CFlashCookieSource.h"
#include "cookies/sources/CWin32FileSystem.h"
#include "res/resource.h"
#include "store/Exceptions.h"
#include "support/CookieStoreBuilder.h"
#include "support/RecordedMessages.h"
#include "support/ThrowAwayCurrentFolder.h"
#include "res/StringLoader.h"

#include "cookies/CookieRecorder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

constexpr FILETIME Time(DWORD high, DWORD low = 0) {
    return FILETIME{low, high};
}

// The real file system, except for the failures asked for.
class CFailingFileSystem final : public CFileSystem {
public:
    std::wstring failListing;
    // Shown as a folder link.
    std::wstring linkFolder;
    bool failDelete = false;
    std::vector<std::wstring> deleted;
    std::vector<std::wstring> listed;

    std::wstring GetAppDataFolder() override { return m_real.GetAppDataFolder(); }
    bool ListFolder(const std::wstring& folder, std::vector<CFolderEntry>& entries) override {
        if (folder == failListing) {
            throw CWin32Exception(ERROR_ACCESS_DENIED, std::wstring());
        }
        listed.push_back(folder);
        return m_real.ListFolder(folder, entries);
    }
    DWORD GetAttributes(const std::wstring& path) override {
        const DWORD attributes = m_real.GetAttributes(path);
        return path == linkFolder ? attributes | FILE_ATTRIBUTE_REPARSE_POINT : attributes;
    }
    DWORD GetFileTimes(const std::wstring& path, FILETIME& created, FILETIME& written) override {
        return m_real.GetFileTimes(path, created, written);
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
        TakeRecordedMessages();
        m_source->Prepare();
    }
    void TearDown() override {
        EXPECT_TRUE(m_folder.CanaryAlive());
        EXPECT_TRUE(TakeRecordedMessages().empty());
        CookieStore::Clear();
    }

    // A refused deletion says why `target` was kept.
    void ExpectKept(const CRefPtr<CCookie>& cookie, UINT reasonId, const std::wstring& target) {
        EXPECT_EQ(L"refused: " + FormatString(LoadExpandedString(reasonId).c_str(), target.c_str()),
                  Refusal(*m_source, {cookie}));
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

// The first rows show while a large tree is still being walked.
TEST_F(FlashCookieSource, EachFileIsHandedOverAsTheWalkReachesIt) {
    for (const wchar_t* file : {L"AB12\\a.net\\x.sol", L"AB12\\a.net\\sub\\y.sol",
                                L"CD34\\b.net\\z.sol", L"EF56\\c.net\\w.sol"}) {
        CookieStore::AddFlashFile(file, Time(0x01d80000));
    }
    // How many folders had been listed when each cookie came.
    class CWatchingSink final : public CCookieSink {
    public:
        explicit CWatchingSink(const std::vector<std::wstring>& listed) : m_listed(listed) {}
        void AddCookie(const CRefPtr<CCookie>&) override {
            listedBefore.push_back(m_listed.size());
        }
        void AddNotice(const CStoreNotice&) override {}
        std::vector<std::size_t> listedBefore;

    private:
        const std::vector<std::wstring>& m_listed;
    };
    CWatchingSink sink(m_files->listed);
    m_source->Enumerate(sink);
    ASSERT_EQ(4u, sink.listedBefore.size());
    // The root, three first-level folders, three site folders and one below a site.
    ASSERT_EQ(8u, m_files->listed.size());
    EXPECT_LE(sink.listedBefore.front(), 4u) << "held back until the walk had ended";
    EXPECT_LT(sink.listedBefore.front(), sink.listedBefore.back());
}

TEST_F(FlashCookieSource, NoSharedObjectsFolderMeansNoCookies) {
    EXPECT_TRUE(EnumerateByFile().empty());
}

TEST_F(FlashCookieSource, LinksAndOverlongPathsArePassedOverWithANotice) {
    CookieStore::AddFlashFile(L"AB12\\plain.net\\x.sol", Time(0x01d80000));
    CCookieRecorder plain;
    m_source->Enumerate(plain);
    EXPECT_EQ(1u, plain.cookies.size());
    EXPECT_TRUE(plain.notices.empty());

    const auto [kept, shallow] = AddLinkedAndDeepSites();
    CCookieRecorder recorder;
    m_source->Enumerate(recorder);
    EXPECT_EQ(3u, recorder.cookies.size());
    EXPECT_EQ(std::vector<std::wstring>{LoadExpandedString(IDS_FLASH_FOLDERS_UNREAD)},
              recorder.notices)
        << "said once";
    EXPECT_TRUE(recorder.skipped.empty()) << "never followed, so never missed: pruning goes on";
}

// Wine keeps no file permissions and the tests run as root: a folder no one may list is made
// by the double.
TEST_F(FlashCookieSource, AFolderThatCannotBeListedHidesOnlyItsOwnCookies) {
    CookieStore::AddFlashFile(L"AB12\\a.net\\x.sol", Time(0x01d80000));
    CookieStore::AddFlashFile(L"CD34\\b.net\\y.sol", Time(0x01d80000));
    CookieStore::AddFlashFile(L"EF56\\c.net\\z.sol", Time(0x01d80000));
    m_files->failListing = CookieStore::FlashRoot() + L"\\CD34";
    CCookieRecorder recorder;
    m_source->Enumerate(recorder);
    std::set<std::wstring> hosts;
    for (const auto& cookie : recorder.cookies) {
        hosts.insert(cookie->GetHost());
    }
    EXPECT_EQ((std::set<std::wstring>{L"a.net", L"c.net"}), hosts);
    EXPECT_TRUE(recorder.notices.empty());
    EXPECT_EQ(std::vector<std::wstring>{LoadExpandedString(IDS_FLASH_FOLDERS_UNREAD)},
              recorder.skipped)
        << "its cookies were missed: no authorization may be pruned for them";

    m_files->failListing = CookieStore::FlashRoot();
    CCookieRecorder none;
    m_source->Enumerate(none);
    EXPECT_TRUE(none.cookies.empty());
    EXPECT_EQ(1u, none.skipped.size());
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
    ExpectKept(EnumerateByFile()[again], IDS_NOT_DELETED, again);
    EXPECT_TRUE(Exists(again));
}

TEST_F(FlashCookieSource, ASiteFolderWithALinkOrAnOverlongPathNeverReachesTheShell) {
    const auto [linked, deep] = AddLinkedAndDeepSites();

    auto cookies = EnumerateByFile();
    ExpectKept(cookies[linked], IDS_FOLDER_REFUSED,
               CookieStore::FlashRoot() + L"\\AB12\\linked.net");
    ExpectKept(cookies[deep], IDS_FOLDER_REFUSED, CookieStore::FlashRoot() + L"\\AB12\\deep.net");

    // A site folder swapped for a link after the load. Removing a real link at that level
    // leaves Wine unable to find the profile's folders in this process, so the double says it.
    const auto swapped = CookieStore::AddFlashFile(L"AB12\\swapped.net\\x.sol", Time(0x01d80000));
    m_files->linkFolder = CookieStore::FlashRoot() + L"\\AB12\\swapped.net";
    ExpectKept(CFlashCookie::Create(swapped, L"swapped.net", {}, {}), IDS_FOLDER_REFUSED,
               m_files->linkFolder);
    EXPECT_TRUE(Exists(swapped));

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
