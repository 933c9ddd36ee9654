#include "cookies/FileTime.h"
#include "cookies/sources/CFirefoxCookieSource.h"
#include "res/resource.h"
#include "sqlite/CSqliteDatabase.h"
#include "store/ErrorText.h"
#include "support/BrowserStandIn.h"
#include "support/BrowserStoreBuilder.h"
#include "support/CookieStoreBuilder.h"
#include "support/RecordedMessages.h"
#include "res/StringLoader.h"

#include "cookies/CookieRecorder.h"
#include "cookies/DescriptionText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using BrowserStores::CRow;
using BrowserStores::Layout;

namespace {

// 2023-11-14 22:13:20 UTC, in microseconds since 1970.
constexpr std::int64_t Base = 1700000000000000;
constexpr std::uint64_t UnixEpochTicks = 116444736000000000;

std::uint64_t Ticks(std::int64_t microseconds) {
    return UnixEpochTicks + static_cast<std::uint64_t>(microseconds) * 10;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class FirefoxCookieSource : public testing::Test {
protected:
    void SetUp() override {
        BrowserStores::Clear();
        TakeRecordedMessages();
    }
    void TearDown() override { BrowserStores::Clear(); }

    CCookieRecorder Load() {
        m_source = CFirefoxCookieSource::Create();
        m_source->Prepare();
        CCookieRecorder found;
        m_source->Enumerate(found);
        return found;
    }

    static std::multiset<std::wstring> Hosts(const CCookieRecorder& found) {
        std::multiset<std::wstring> hosts;
        for (const auto& cookie : found.cookies) {
            hosts.insert(cookie->GetHost());
        }
        return hosts;
    }

    CRefPtr<CCookieSource> m_source;
};

} // namespace

TEST_F(FirefoxCookieSource, ReadsEveryListedProfileWithContainersAndTheLog) {
    const auto current = BrowserStores::AddFirefoxProfile(
        L"default-release", L"abcd.default-release", Layout::Current,
        {{L".example.com", L"a", L"/", Base, Base + 7},
         {L".example.com", L"a", L"/", Base + 1, Base + 1, L"^userContextId=2"},
         {L"www.example.com", L"p", L"/", Base + 2, Base + 2, L"^partitionKey=(https,top.com)"},
         {L"zero.org", L"z", L"/", 0, -5}});
    BrowserStores::AddFirefoxRowsToLog(current, {{L"logged.net", L"l", L"/", Base + 3, Base + 4}});
    ASSERT_TRUE(Exists(current + L"-wal"));
    BrowserStores::AddFirefoxProfile(L"old", L"efgh.old", Layout::Old,
                                     {{L"old.example.com", L"o", L"/", Base + 5, Base + 6}});

    const CCookieRecorder found = Load();
    EXPECT_EQ((std::multiset<std::wstring>{L"example.com", L"example.com", L"www.example.com",
                                           L"zero.org", L"logged.net", L"old.example.com"}),
              Hosts(found));
    for (const auto& cookie : found.cookies) {
        EXPECT_EQ(CookieKind::Firefox, cookie->GetKind());
        if (cookie->GetHost() == L"logged.net") {
            EXPECT_EQ(Ticks(Base + 3), ToUInt64(cookie->GetCreated()));
            EXPECT_EQ(Ticks(Base + 4), ToUInt64(cookie->GetLastUsed()));
        }
        if (cookie->GetHost() == L"zero.org") {
            EXPECT_EQ(0u, ToUInt64(cookie->GetCreated()));
            EXPECT_EQ(0u, ToUInt64(cookie->GetLastUsed()));
        }
    }
    EXPECT_EQ(Ticks(Base + 7), ToUInt64(found.cookies[0]->GetLastUsed()));
    EXPECT_TRUE(found.skipped.empty());
    EXPECT_TRUE(Exists(current + L"-wal")) << "the log is the browser's to fold in";
}

// Firefox writes "profiles.ini" in UTF-8: names and paths beyond ASCII, relative or not.
TEST_F(FirefoxCookieSource, ProfilesNamedBeyondAsciiAreReadWhereverTheyAre) {
    BrowserStores::AddFirefoxProfile(L"J\u00FCrgen", L"ab.J\u00FCrgen", Layout::Current,
                                     {{L"relative.de", L"r", L"/", Base, Base}});
    const std::wstring elsewhere = BrowserStores::AppData() + L"\\Mozilla\\\u65E5\u672C";
    BrowserStores::AddFirefoxStore(elsewhere, Layout::Old,
                                   {{L"absolute.jp", L"a", L"/", Base, Base}});
    BrowserStores::ListFirefoxProfile(L"\u65E5\u672C", elsewhere, false);

    const CCookieRecorder found = Load();
    EXPECT_EQ((std::multiset<std::wstring>{L"relative.de", L"absolute.jp"}), Hosts(found));
    EXPECT_TRUE(found.skipped.empty());
    CCookieDescriptions described;
    m_source->DescribeCookies(found.cookies, described);
    std::set<std::wstring> locations;
    for (const CCookieDescription& cookie : described) {
        locations.insert(cookie.location);
    }
    EXPECT_EQ((std::set<std::wstring>{L"Mozilla Firefox (J\u00FCrgen)",
                                      L"Mozilla Firefox (\u65E5\u672C)"}),
              locations);
}

// A profile whose folder is gone holds no cookies; one that cannot be looked into is skipped.
TEST_F(FirefoxCookieSource, AProfileFolderThatIsGoneIsPassedOverAndOneThatCannotBeReadIsSkipped) {
    BrowserStores::ListFirefoxProfile(L"gone", L"Profiles/gone.default", true);
    const std::wstring locked = BrowserStores::AddFirefoxProfile(
        L"locked", L"cd.locked", Layout::Current, {{L"locked.com", L"l", L"/", Base, Base}});
    BrowserStores::AddFirefoxProfile(L"fine", L"ef.fine", Layout::Current,
                                     {{L"fine.com", L"f", L"/", Base, Base}});
    const CookieStore::CUnreadable unreadable(locked);

    const CCookieRecorder found = Load();
    EXPECT_EQ((std::multiset<std::wstring>{L"fine.com"}), Hosts(found));
    EXPECT_EQ((std::vector<std::wstring>{
                  FormatString(LoadExpandedString(IDS_STORE_UNREADABLE).c_str(), L"Mozilla Firefox",
                               L"locked", FormatErrorText(ERROR_CANT_RESOLVE_FILENAME).c_str())}),
              found.skipped);
}

TEST_F(FirefoxCookieSource, AProfilesIniThatCannotBeReadIsASkippedStore) {
    BrowserStores::AddFirefoxProfile(L"default", L"x.default", Layout::Current,
                                     {{L"a.com", L"a", L"/", Base, Base}});
    const CookieStore::CUnreadable unreadable(BrowserStores::FirefoxFolder() + L"\\profiles.ini");

    const CCookieRecorder found = Load();
    EXPECT_TRUE(found.cookies.empty());
    EXPECT_EQ((std::vector<std::wstring>{FormatString(
                  LoadExpandedString(IDS_PROFILES_UNREADABLE).c_str(), L"Mozilla Firefox",
                  FormatErrorText(ERROR_CANT_RESOLVE_FILENAME).c_str())}),
              found.skipped);
}

TEST_F(FirefoxCookieSource, AnOpenFirefoxIsListedButNeverWritten) {
    const auto database = BrowserStores::AddFirefoxProfile(
        L"default", L"x.default", Layout::Current,
        {{L"a.com", L"a", L"/", Base, Base}, {L"b.com", L"b", L"/", Base, Base}});
    const std::wstring lock = database.substr(0, database.rfind(L'\\')) + L"\\parent.lock";
    const auto before = BrowserStores::DumpTable(database, "moz_cookies");

    CBrowserStandIn firefox(lock);
    const CCookieRecorder found = Load();
    EXPECT_EQ((std::multiset<std::wstring>{L"a.com", L"b.com"}), Hosts(found));
    EXPECT_TRUE(found.skipped.empty());

    EXPECT_EQ(L"refused: " + FormatString(LoadExpandedString(IDS_BROWSER_OPEN_DELETING).c_str(),
                                          L"Mozilla Firefox", L"default"),
              Refusal(*m_source, {found.cookies[0]}));
    EXPECT_EQ(before, BrowserStores::DumpTable(database, "moz_cookies"));
}

TEST_F(FirefoxCookieSource, DeletingTakesExactlyTheListedRowsOfEveryContainer) {
    const auto database = BrowserStores::AddFirefoxProfile(
        L"default", L"x.default", Layout::Current,
        {{L".site.com", L"a", L"/", Base, Base},
         {L".site.com", L"a", L"/", Base, Base, L"^userContextId=1"},
         {L"keep.com", L"a", L"/", Base, Base}});
    BrowserStores::AddFirefoxRowsToLog(database, {{L"www.site.com", L"w", L"/", Base, Base}});
    // A column read as NULL must match NULL again, not the empty text.
    CSqliteDatabase(database, CSqliteDatabase::Mode::ReadWrite)
        .Execute("INSERT INTO moz_cookies (originAttributes, name, host, path, creationTime, "
                 "lastAccessed) VALUES ('', NULL, 'null.site.com', NULL, NULL, 1)");
    const CCookieRecorder found = Load();
    CCookieList batch;
    for (const auto& cookie : found.cookies) {
        if (cookie->GetHost() != L"keep.com") {
            batch.push_back(cookie);
        }
    }
    ASSERT_EQ(4u, batch.size());
    const auto before = BrowserStores::DumpTable(database, "moz_cookies");

    EXPECT_TRUE(m_source->DeleteCookies(batch));
    EXPECT_TRUE(TakeRecordedMessages().empty());
    EXPECT_EQ((std::vector<std::wstring>{before[2]}),
              BrowserStores::DumpTable(database, "moz_cookies"));
    EXPECT_EQ(L"ok", BrowserStores::CheckIntegrity(database));
}

TEST_F(FirefoxCookieSource, AStoreWithoutTheNeededColumnsIsSkipped) {
    const auto database =
        BrowserStores::AddFirefoxProfile(L"default", L"x.default", Layout::Current, {});
    {
        CSqliteDatabase db(database, CSqliteDatabase::Mode::ReadWrite);
        db.Execute("DROP TABLE moz_cookies; CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, "
                   "host TEXT, name TEXT, path TEXT, creationTime INTEGER, lastAccessed INTEGER)");
    }
    BrowserStores::AddFirefoxProfile(L"second", L"y.second", Layout::Old,
                                     {{L"fine.com", L"f", L"/", Base, Base}});
    const CCookieRecorder found = Load();
    EXPECT_EQ((std::multiset<std::wstring>{L"fine.com"}), Hosts(found));
    EXPECT_EQ((std::vector<std::wstring>{
                  FormatString(LoadExpandedString(IDS_STORE_UNREADABLE).c_str(), L"Mozilla Firefox",
                               L"default", LoadExpandedString(IDS_STORE_UNKNOWN_LAYOUT).c_str())}),
              found.skipped);
}

TEST_F(FirefoxCookieSource, AFirefoxStartedDuringABatchStopsItsDeletes) {
    const auto database = BrowserStores::AddFirefoxProfile(
        L"default", L"x.default", Layout::Current,
        {{L"a.com", L"a", L"/", Base, Base}, {L"b.com", L"b", L"/", Base + 1, Base}});
    BrowserStores::AddFirefoxRowsToLog(database, {{L"c.com", L"c", L"/", Base + 2, Base}});
    const std::wstring lock = database.substr(0, database.rfind(L'\\')) + L"\\parent.lock";
    const CCookieRecorder found = Load();
    ASSERT_EQ(3u, found.cookies.size());
    const auto before = BrowserStores::DumpTable(database, "moz_cookies");

    m_source->BeginDeleteBatch();
    EXPECT_TRUE(m_source->DeleteCookies({found.cookies[0]}));
    {
        CBrowserStandIn firefox(lock);
        EXPECT_NE(L"", Refusal(*m_source, {found.cookies[1]}));
    }
    m_source->EndDeleteBatch();

    EXPECT_EQ((std::vector<std::wstring>{before[1], before[2]}),
              BrowserStores::DumpTable(database, "moz_cookies"));
    EXPECT_TRUE(Exists(database + L"-wal")) << "the log is the browser's to fold in";
    EXPECT_EQ(L"ok", BrowserStores::CheckIntegrity(database));
}

TEST_F(FirefoxCookieSource, DetailsReadEachContainersOwnRowAndTheExpiryInTheLayoutsUnit) {
    CRow plain{L".site.com", L"a", L"/", Base, Base + 1};
    plain.expires = 1900000000000;
    CRow contained{L".site.com", L"a", L"/", Base + 10, Base + 2, L"^userContextId=2"};
    contained.expires = 1900000005000;
    CRow otherContainer{L".site.com", L"a", L"/", Base + 11, Base + 3, L"^userContextId=3"};
    const auto current =
        BrowserStores::AddFirefoxProfile(L"default-release", L"ab.default-release", Layout::Current,
                                         {plain, contained, otherContainer});
    CRow logged{L"site.com", L"w", L"/", Base + 3, Base + 4};
    logged.expires = 1900000009000;
    BrowserStores::AddFirefoxRowsToLog(current, {logged});
    // The old layout counts its expiry in seconds.
    CRow old{L"site.com", L"o", L"/", Base + 5, Base + 6};
    old.expires = 1900000000;
    BrowserStores::AddFirefoxProfile(L"old", L"ef.old", Layout::Old, {old});
    const CCookieRecorder found = Load();
    ASSERT_EQ(5u, found.cookies.size());
    {
        // One container's cookie is gone: another container's like-named one must not stand in.
        CSqliteDatabase db(current, CSqliteDatabase::Mode::ReadWrite);
        db.LeaveLogOnClose();
        db.Execute("PRAGMA wal_autocheckpoint = 0");
        db.Execute("DELETE FROM moz_cookies WHERE originAttributes = '^userContextId=3'");
    }
    ASSERT_TRUE(Exists(current + L"-wal"));

    // A running Firefox shares its database: the details are read all the same.
    CBrowserStandIn firefox(current.substr(0, current.rfind(L'\\')) + L"\\parent.lock");
    CCookieDescriptions described;
    m_source->DescribeCookies(found.cookies, described);
    const auto details = [](const wchar_t* name, const wchar_t* host, std::int64_t expires,
                            std::int64_t lastUsed, std::int64_t created, const wchar_t* profile,
                            const std::wstring& problem = L"") {
        return DescriptionText({CookieKind::Firefox,
                                name,
                                host,
                                L"/",
                                ToFileTime(expires != 0 ? Ticks(expires) : 0),
                                ToFileTime(Ticks(lastUsed)),
                                ToFileTime(Ticks(created)),
                                L"Mozilla Firefox (" + std::wstring(profile) + L")",
                                {}}) +
               problem;
    };
    std::vector<std::wstring> expected = {
        details(L"a", L".site.com", 1900000000000000, Base + 1, Base, L"default-release"),
        details(L"a", L".site.com", 1900000005000000, Base + 2, Base + 10, L"default-release"),
        details(L"a", L".site.com", 0, Base + 3, Base + 11, L"default-release",
                FormatString(LoadExpandedString(IDS_DETAILS_GONE).c_str(), L"a", L".site.com",
                             L"Mozilla Firefox", L"default-release")),
        details(L"w", L"site.com", 1900000009000000, Base + 4, Base + 3, L"default-release"),
        details(L"o", L"site.com", 1900000000000000, Base + 6, Base + 5, L"old"),
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, DescriptionTexts(described));
    EXPECT_TRUE(TakeRecordedMessages().empty());
    EXPECT_TRUE(Exists(current + L"-wal")) << "describing leaves the log to the browser";
}
