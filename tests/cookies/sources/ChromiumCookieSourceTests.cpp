#include "cookies/FileTime.h"
#include "cookies/sources/CChromiumCookieSource.h"
#include "res/resource.h"
#include "sqlite/CSqliteDatabase.h"
#include "sqlite/CSqliteTransaction.h"
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
#include <map>
#include <set>
#include <thread>

using BrowserStores::CRow;
using BrowserStores::Layout;

namespace {

constexpr wchar_t ChromeData[] = L"Google\\Chrome\\User Data";
// 2023-11-14 22:13:20 UTC, in microseconds since 1601.
constexpr std::int64_t Base = 13344473600000000;

std::wstring Describe(const CRefPtr<CCookie>& cookie) {
    return cookie->GetHost() + L" " + std::to_wstring(ToUInt64(cookie->GetCreated())) + L" " +
           std::to_wstring(ToUInt64(cookie->GetLastUsed()));
}

class ChromiumCookieSource : public testing::Test {
protected:
    void SetUp() override {
        BrowserStores::Clear();
        TakeRecordedMessages();
    }
    void TearDown() override { BrowserStores::Clear(); }

    CCookieRecorder Load(CookieKind kind = CookieKind::Chrome) {
        m_source = CChromiumCookieSource::Create(kind);
        m_source->Prepare();
        CCookieRecorder found;
        m_source->Enumerate(found);
        return found;
    }

    static std::multiset<std::wstring> Described(const CCookieRecorder& found) {
        std::multiset<std::wstring> all;
        for (const auto& cookie : found.cookies) {
            all.insert(Describe(cookie));
        }
        return all;
    }

    static std::wstring OpenNotice(const wchar_t* browser) {
        return FormatString(LoadExpandedString(IDS_BROWSER_OPEN).c_str(), browser, browser);
    }

    CRefPtr<CCookieSource> m_source;
};

} // namespace

TEST_F(ChromiumCookieSource, ReadsEveryProfileOfEveryChannelInBothLayouts) {
    const auto current = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(ChromeData, L"Default"), Layout::Current,
        {{L".example.com", L"a", L"/", Base, Base + 5},
         {L"www.example.com", L"b", L"/x", Base + 1, 0},
         // Partitioned: grouped by its own host, not by the top-level site.
         {L"embed.net", L"p", L"/", Base + 2, Base + 3, L"https://example.com"},
         {L"unknown.org", L"t", L"/", -1, 0}});
    const auto old = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(ChromeData, L"Profile 1"), Layout::Old,
        {{L".old.example.com", L"o", L"/", Base + 10, Base + 11}});
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Chromium\\User Data", L"Default"), Layout::Current,
        {{L"chromium.org", L"c", L"/", Base, Base}});
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Google\\Chrome SxS\\User Data", L"Default"), Layout::Old,
        {{L"canary.dev", L"c", L"/", Base, Base}});
    // Never the browser's own profiles, nor another browser's.
    for (const wchar_t* skipped : {L"System Profile", L"Guest Profile"}) {
        BrowserStores::AddChromiumStore(BrowserStores::ChromiumProfile(ChromeData, skipped),
                                        Layout::Current, {{L"skip.me", L"s", L"/", Base, Base}});
    }
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Microsoft\\Edge\\User Data", L"Default"), Layout::Current,
        {{L"edge.com", L"e", L"/", Base, Base}});

    const CCookieRecorder found = Load();
    const auto time = [](std::int64_t microseconds) { return std::to_wstring(microseconds * 10); };
    EXPECT_EQ((std::multiset<std::wstring>{
                  L"example.com " + time(Base) + L" " + time(Base + 5),
                  L"www.example.com " + time(Base + 1) + L" 0",
                  L"embed.net " + time(Base + 2) + L" " + time(Base + 3), L"unknown.org 0 0",
                  L"old.example.com " + time(Base + 10) + L" " + time(Base + 11),
                  L"chromium.org " + time(Base) + L" " + time(Base),
                  L"canary.dev " + time(Base) + L" " + time(Base)}),
              Described(found));
    std::map<std::wstring, std::size_t> perFile;
    for (const auto& cookie : found.cookies) {
        EXPECT_EQ(CookieKind::Chrome, cookie->GetKind());
        ++perFile[cookie->GetFile()];
    }
    EXPECT_EQ(4u, perFile[current]);
    EXPECT_EQ(1u, perFile[old]);
    EXPECT_TRUE(found.skipped.empty());
    EXPECT_TRUE(found.notices.empty());
}

TEST_F(ChromiumCookieSource, EachBrowserReadsOnlyItsOwnFoldersAndOperasFolderIsAProfile) {
    const std::wstring opera = BrowserStores::AppData() + L"\\Opera Software\\Opera Stable";
    BrowserStores::AddChromiumStore(opera, Layout::Old, {{L"opera.com", L"a", L"/", Base, Base}});
    BrowserStores::AddChromiumStore(opera + L"\\Default", Layout::Current,
                                    {{L"opera.com", L"b", L"/", Base, Base}});
    BrowserStores::AddChromiumStore(BrowserStores::AppData() + L"\\Opera Software\\Opera GX Stable",
                                    Layout::Current, {{L"gx.com", L"g", L"/", Base, Base}});
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"BraveSoftware\\Brave-Browser\\User Data", L"Default"),
        Layout::Current, {{L"brave.com", L"b", L"/", Base, Base}});
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Vivaldi\\User Data", L"Profile 3"), Layout::Current,
        {{L"vivaldi.com", L"v", L"/", Base, Base}});
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Microsoft\\Edge Beta\\User Data", L"Default"),
        Layout::Current, {{L"edge.com", L"e", L"/", Base, Base}});
    // A profile holding both files was migrated: the database in "Network" is the one in use.
    const auto migrated = BrowserStores::ChromiumProfile(L"Microsoft\\Edge\\User Data", L"Default");
    BrowserStores::AddChromiumStore(migrated, Layout::Old,
                                    {{L"stale.com", L"s", L"/", Base, Base}});
    BrowserStores::AddChromiumStore(migrated, Layout::Current,
                                    {{L"edge.com", L"f", L"/", Base, Base}});

    const std::map<CookieKind, std::multiset<std::wstring>> expected = {
        {CookieKind::Opera, {L"opera.com", L"opera.com", L"gx.com"}},
        {CookieKind::Brave, {L"brave.com"}},
        {CookieKind::Vivaldi, {L"vivaldi.com"}},
        {CookieKind::Edge, {L"edge.com", L"edge.com"}},
        {CookieKind::Chrome, {}},
    };
    for (const auto& [kind, hosts] : expected) {
        std::multiset<std::wstring> seen;
        for (const auto& cookie : Load(kind).cookies) {
            EXPECT_EQ(kind, cookie->GetKind());
            seen.insert(cookie->GetHost());
        }
        EXPECT_EQ(hosts, seen) << "kind " << KindBit(kind);
    }
}

TEST_F(ChromiumCookieSource, AnOpenBrowsersStoreIsSkippedAndNeverWritten) {
    const auto held = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(ChromeData, L"Default"), Layout::Current,
        {{L"a.com", L"a", L"/", Base, Base}, {L"b.com", L"b", L"/", Base, Base}});
    BrowserStores::AddChromiumStore(BrowserStores::ChromiumProfile(ChromeData, L"Profile 1"),
                                    Layout::Current, {{L"c.com", L"c", L"/", Base, Base}});
    const CCookieRecorder before = Load();
    ASSERT_EQ(3u, before.cookies.size());
    const auto dump = BrowserStores::DumpTable(held, "cookies");
    // Deleting the held store's cookies is refused, once, with the browser named.
    const auto refused = [this, &held](const CCookieRecorder& from) {
        CCookieList batch;
        for (const auto& cookie : from.cookies) {
            if (cookie->GetFile() == held) {
                batch.push_back(cookie);
            }
        }
        EXPECT_EQ(L"refused: " + FormatString(LoadExpandedString(IDS_BROWSER_OPEN_DELETING).c_str(),
                                              L"Google Chrome", L"Default"),
                  Refusal(*m_source, batch));
    };

    {
        CBrowserStandIn browser(held);
        const CCookieRecorder found = Load();
        ASSERT_EQ(1u, found.cookies.size());
        EXPECT_EQ(L"c.com", found.cookies[0]->GetHost());
        EXPECT_EQ((std::vector<std::wstring>{OpenNotice(L"Chrome")}), found.skipped);
        refused(before);
    }
    EXPECT_EQ(dump, BrowserStores::DumpTable(held, "cookies"));

    // A running browser that leaves its database readable still holds its "lockfile": its
    // cookies are listed, and nothing of them is deleted.
    CBrowserStandIn browser(BrowserStores::LocalAppData() + L"\\" + ChromeData + L"\\lockfile");
    const CCookieRecorder listed = Load();
    EXPECT_EQ(3u, listed.cookies.size());
    EXPECT_TRUE(listed.skipped.empty());
    refused(listed);
    EXPECT_EQ(dump, BrowserStores::DumpTable(held, "cookies"));
}

TEST_F(ChromiumCookieSource, ABadStoreIsSkippedUntouchedAndTheRestLoads) {
    const auto profile = [](const wchar_t* name) {
        return BrowserStores::ChromiumProfile(ChromeData, name);
    };
    BrowserStores::AddChromiumStore(profile(L"Default"), Layout::Current,
                                    {{L"good.com", L"g", L"/", Base, Base}});
    const auto noTable =
        BrowserStores::AddChromiumStore(profile(L"Profile 1"), Layout::Current, {});
    const auto noColumn =
        BrowserStores::AddChromiumStore(profile(L"Profile 2"), Layout::Current, {});
    {
        CSqliteDatabase db(noTable, CSqliteDatabase::Mode::ReadWrite);
        db.Execute("DROP TABLE cookies");
        CSqliteDatabase other(noColumn, CSqliteDatabase::Mode::ReadWrite);
        other.Execute("DROP TABLE cookies; CREATE TABLE cookies (creation_utc INTEGER, "
                      "host TEXT, name TEXT, path TEXT, last_access_utc INTEGER)");
    }
    const auto notDatabase =
        BrowserStores::AddChromiumStore(profile(L"Profile 3"), Layout::Current, {});
    BrowserStores::Overwrite(notDatabase, 0, "This is not an SQLite database file at all.");
    std::vector<CRow> many;
    for (int i = 0; i < 2000; ++i) {
        many.push_back({L"m" + std::to_wstring(i) + L".com", L"n", L"/", Base + i, Base});
    }
    const auto malformed =
        BrowserStores::AddChromiumStore(profile(L"Profile 4"), Layout::Old, many);
    // Garbage over pages in the middle: the schema still reads, the table does not.
    const long middle =
        static_cast<long>(BrowserStores::ReadBytes(malformed).size() / 2 / 4096 * 4096);
    BrowserStores::Overwrite(malformed, middle, std::string(8192, '\x5A'));
    // A profile whose database cannot even be looked at.
    const CookieStore::CUnreadable unreadableFile(
        BrowserStores::AddChromiumStore(profile(L"Profile 5"), Layout::Current, {}));

    std::map<std::wstring, std::string> bytes;
    for (const auto& file : {noTable, noColumn, notDatabase, malformed}) {
        bytes[file] = BrowserStores::ReadBytes(file);
    }
    const CCookieRecorder found = Load();

    std::set<std::wstring> hosts;
    for (const auto& cookie : found.cookies) {
        hosts.insert(cookie->GetHost());
    }
    EXPECT_EQ(std::set<std::wstring>{L"good.com"}, hosts)
        << "nothing of a store that fails part-way is listed";
    ASSERT_EQ(5u, found.skipped.size());
    const auto unreadable = [](const wchar_t* name, const std::wstring& reason) {
        return FormatString(LoadExpandedString(IDS_STORE_UNREADABLE).c_str(), L"Google Chrome",
                            name, reason.c_str());
    };
    const std::wstring unknown = LoadExpandedString(IDS_STORE_UNKNOWN_LAYOUT);
    // Found unreadable while the profiles are looked for, before any store is read.
    EXPECT_EQ(unreadable(L"Profile 5", FormatErrorText(ERROR_CANT_RESOLVE_FILENAME)),
              found.skipped[0]);
    EXPECT_EQ(unreadable(L"Profile 1", unknown), found.skipped[1]);
    EXPECT_EQ(unreadable(L"Profile 2", unknown), found.skipped[2]);
    EXPECT_EQ(unreadable(L"Profile 3", L"file is not a database"), found.skipped[3]);
    EXPECT_EQ(unreadable(L"Profile 4", L"database disk image is malformed"), found.skipped[4]);
    for (const auto& [file, content] : bytes) {
        EXPECT_EQ(content, BrowserStores::ReadBytes(file)) << "nothing written to a bad store";
    }
}

TEST_F(ChromiumCookieSource, DeletingRemovesExactlyTheListedRowsInOneTransaction) {
    const auto database = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(ChromeData, L"Default"), Layout::Current,
        {{L".site.com", L"a", L"/", Base, Base},
         {L"www.site.com", L"b", L"/", Base + 1, Base},
         {L"site.com", L"a", L"/", Base + 2, Base, L"https://other.com"},
         {L"changed.site.com", L"c", L"/", Base + 3, Base},
         {L"keep.com", L"a", L"/", Base + 4, Base}});
    const CCookieRecorder found = Load();
    CCookieList batch;
    for (const auto& cookie : found.cookies) {
        if (cookie->GetHost() != L"keep.com") {
            batch.push_back(cookie);
        }
    }
    ASSERT_EQ(4u, batch.size());
    {
        // The browser set this cookie again after the load: it is another cookie now.
        CSqliteDatabase db(database, CSqliteDatabase::Mode::ReadWrite);
        db.Execute("UPDATE cookies SET creation_utc = creation_utc + 1 "
                   "WHERE host_key = 'changed.site.com'");
    }
    const auto before = BrowserStores::DumpTable(database, "cookies");
    ASSERT_EQ(5u, before.size());

    {
        // Another writer holds the database: the delete fails, is reported once, changes
        // nothing.
        CSqliteDatabase writer(database, CSqliteDatabase::Mode::ReadWrite);
        CSqliteTransaction busy(writer);
        EXPECT_EQ(L"refused: database is locked", Refusal(*m_source, batch));
    }
    EXPECT_EQ(before, BrowserStores::DumpTable(database, "cookies"));

    {
        // A reader that soon lets go, as a load passing over the store, is waited for.
        CSqliteDatabase reader(database, CSqliteDatabase::Mode::ReadOnly);
        reader.Execute("BEGIN; SELECT count(*) FROM cookies;");
        std::thread done([&reader] {
            ::Sleep(500);
            reader.Execute("COMMIT");
        });
        EXPECT_TRUE(m_source->DeleteCookies(batch));
        done.join();
    }
    EXPECT_TRUE(TakeRecordedMessages().empty());
    const auto after = BrowserStores::DumpTable(database, "cookies");
    EXPECT_EQ((std::vector<std::wstring>{before[3], before[4]}), after)
        << "only the changed row and the other site's stay";
    EXPECT_EQ(L"ok", BrowserStores::CheckIntegrity(database));
    EXPECT_TRUE(m_source->DeleteCookies(batch)) << "rows already gone count as deleted";
}

namespace {

// Whether a browser starting now could take the file for itself.
bool CanOpenExclusively(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
}

} // namespace

TEST_F(ChromiumCookieSource, ABatchKeepsEachStoreOpenUntilItEndsAndStillDeletesSiteBySite) {
    const auto first = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(ChromeData, L"Default"), Layout::Current,
        {{L"one.com", L"a", L"/", Base, Base},
         {L"two.com", L"b", L"/", Base + 1, Base},
         {L"keep.com", L"k", L"/", Base + 2, Base}});
    const auto second =
        BrowserStores::AddChromiumStore(BrowserStores::ChromiumProfile(ChromeData, L"Profile 1"),
                                        Layout::Old, {{L"two.com", L"c", L"/", Base + 3, Base}});
    const CCookieRecorder found = Load();
    std::map<std::wstring, CCookieList> sites;
    for (const auto& cookie : found.cookies) {
        sites[cookie->GetHost()].push_back(cookie);
    }
    const auto firstBefore = BrowserStores::DumpTable(first, "cookies");

    m_source->BeginDeleteBatch();
    EXPECT_TRUE(m_source->DeleteCookies(sites[L"one.com"]));
    EXPECT_FALSE(CanOpenExclusively(first)) << "the store stays open for the next site";
    {
        // A failure in the middle of the batch rolls back that site's part in the store.
        CSqliteDatabase writer(second, CSqliteDatabase::Mode::ReadWrite);
        CSqliteTransaction busy(writer);
        EXPECT_NE(L"", Refusal(*m_source, sites[L"two.com"]));
    }
    // The first store's part went before the second failed; only the failed store's stays.
    EXPECT_EQ((std::vector<std::wstring>{firstBefore[2]}),
              BrowserStores::DumpTable(first, "cookies"));
    EXPECT_EQ(1u, BrowserStores::DumpTable(second, "cookies").size());
    // The failed store is opened afresh: the same site goes now.
    EXPECT_TRUE(m_source->DeleteCookies(sites[L"two.com"]));
    m_source->EndDeleteBatch();

    EXPECT_TRUE(TakeRecordedMessages().empty());
    EXPECT_TRUE(CanOpenExclusively(first));
    EXPECT_TRUE(CanOpenExclusively(second));
    EXPECT_EQ((std::vector<std::wstring>{firstBefore[2]}),
              BrowserStores::DumpTable(first, "cookies"));
    EXPECT_TRUE(BrowserStores::DumpTable(second, "cookies").empty());
    EXPECT_EQ(L"ok", BrowserStores::CheckIntegrity(first));
    EXPECT_EQ(L"ok", BrowserStores::CheckIntegrity(second));
}

namespace {

// A Chrome cookie's description as its text: times are microseconds since 1601.
std::wstring Details(const std::wstring& name, const std::wstring& host, const std::wstring& path,
                     std::int64_t expires, std::int64_t lastUsed, std::int64_t created,
                     const wchar_t* profile, const std::wstring& problem = L"") {
    CCookieDescription cookie{CookieKind::Chrome,
                              name,
                              host,
                              path,
                              ToFileTime(static_cast<std::uint64_t>(expires) * 10),
                              ToFileTime(static_cast<std::uint64_t>(lastUsed) * 10),
                              ToFileTime(static_cast<std::uint64_t>(created) * 10),
                              L"Google Chrome (" + std::wstring(profile) + L")",
                              {}};
    return DescriptionText(cookie) + problem;
}

std::wstring ChromeText(UINT format, const wchar_t* profile, const std::wstring& reason = L"") {
    return FormatString(LoadExpandedString(format).c_str(), L"Google Chrome", profile,
                        reason.c_str());
}

} // namespace

TEST_F(ChromiumCookieSource, DetailsAreReadAgainFromTheRowTheLoadFoundAndNoOther) {
    CRow lasting{L"www.site.com", L"pref", L"/app", Base + 1, Base + 6};
    lasting.expires = Base + 1000;
    CRow partitioned{L"site.com", L"p", L"/", Base + 2, Base + 7, L"https://top.com"};
    partitioned.expires = Base + 2000;
    const auto database = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(ChromeData, L"Default"), Layout::Current,
        {{L".site.com", L"sid", L"/", Base, Base + 5},
         lasting,
         partitioned,
         {L"site.com", L"old", L"/", Base + 3, Base + 8}});
    CRow old{L".site.com", L"o", L"/", Base + 4, Base + 9};
    old.expires = Base + 3000;
    const auto oldDatabase = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(ChromeData, L"Profile 1"), Layout::Old, {old});
    const CCookieRecorder found = Load();
    ASSERT_EQ(5u, found.cookies.size());
    {
        CSqliteDatabase db(database, CSqliteDatabase::Mode::ReadWrite);
        // Used again since the load: the details show the store as it is now.
        db.Execute(
            "UPDATE cookies SET last_access_utc = last_access_utc + 100 WHERE name = 'pref'");
        // Set again: the same row id holds another cookie now, which must not stand in for it.
        db.Execute("UPDATE cookies SET name = 'new', creation_utc = creation_utc + 1 "
                   "WHERE name = 'old'");
        // A value the column should never hold is an unknown time, not a failure.
        db.Execute("UPDATE cookies SET expires_utc = 'never' WHERE name = 'p'");
    }

    CCookieDescriptions described;
    m_source->DescribeCookies(found.cookies, described);
    std::vector<std::wstring> expected = {
        Details(L"sid", L".site.com", L"/", 0, Base + 5, Base, L"Default"),
        Details(L"pref", L"www.site.com", L"/app", Base + 1000, Base + 106, Base + 1, L"Default"),
        Details(L"p", L"site.com", L"/", 0, Base + 7, Base + 2, L"Default"),
        Details(L"old", L"site.com", L"/", 0, Base + 8, Base + 3, L"Default",
                FormatString(LoadExpandedString(IDS_DETAILS_GONE).c_str(), L"old", L"site.com",
                             L"Google Chrome", L"Default")),
        Details(L"o", L".site.com", L"/", Base + 3000, Base + 9, Base + 4, L"Profile 1"),
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, DescriptionTexts(described));
    EXPECT_TRUE(TakeRecordedMessages().empty()) << "the details say it, no message box";
    EXPECT_TRUE(CanOpenExclusively(database)) << "open only while describing";
    EXPECT_TRUE(CanOpenExclusively(oldDatabase));
}

TEST_F(ChromiumCookieSource, DetailsOfAStoreThatCannotBeReadNowAreWhatTheLoadFoundAndWhy) {
    const auto profile = [](const wchar_t* name) {
        return BrowserStores::ChromiumProfile(ChromeData, name);
    };
    CRow row{L".site.com", L"n", L"/", Base, Base + 1};
    row.expires = Base + 10;
    const auto held = BrowserStores::AddChromiumStore(profile(L"Default"), Layout::Current, {row});
    const auto removed =
        BrowserStores::AddChromiumStore(profile(L"Profile 1"), Layout::Current, {row});
    const auto noColumn =
        BrowserStores::AddChromiumStore(profile(L"Profile 2"), Layout::Current, {row});
    const auto notDatabase =
        BrowserStores::AddChromiumStore(profile(L"Profile 3"), Layout::Old, {row});
    const CCookieRecorder found = Load();
    ASSERT_EQ(4u, found.cookies.size());

    CBrowserStandIn browser(held);
    ASSERT_TRUE(::DeleteFileW(removed.c_str()));
    {
        CSqliteDatabase db(noColumn, CSqliteDatabase::Mode::ReadWrite);
        db.Execute("ALTER TABLE cookies DROP COLUMN expires_utc");
    }
    BrowserStores::Overwrite(notDatabase, 0, "This is not an SQLite database file at all.");
    CCookieDescriptions described;
    m_source->DescribeCookies(found.cookies, described);

    const auto asLoaded = [](const wchar_t* name, const std::wstring& problem) {
        return Details(L"n", L".site.com", L"/", 0, Base + 1, Base, name, problem);
    };
    std::vector<std::wstring> expected = {
        asLoaded(L"Default", ChromeText(IDS_DETAILS_BROWSER_OPEN, L"Default")),
        asLoaded(L"Profile 1",
                 ChromeText(IDS_DETAILS_UNREADABLE, L"Profile 1", L"unable to open database file")),
        asLoaded(L"Profile 2", ChromeText(IDS_DETAILS_UNREADABLE, L"Profile 2",
                                          LoadExpandedString(IDS_STORE_UNKNOWN_LAYOUT))),
        asLoaded(L"Profile 3",
                 ChromeText(IDS_DETAILS_UNREADABLE, L"Profile 3", L"file is not a database")),
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, DescriptionTexts(described));
    EXPECT_TRUE(TakeRecordedMessages().empty());
}
