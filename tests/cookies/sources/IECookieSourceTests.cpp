#include "app/ProgramSources.h"
#include "cookies/CookieManager.h"
#include "cookies/FileTime.h"
#include "cookies/sources/CIECookieSource.h"
#include "cookies/sources/CWin32FileSystem.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "support/CookieStoreBuilder.h"
#include "support/RecordedMessages.h"
#include "res/StringLoader.h"

#include "cookies/CookieRecorder.h"
#include "cookies/sources/FakeUrlCache.h"

#include <gtest/gtest.h>

#include <shlwapi.h>
#include <wininet.h>

#include <map>

namespace {

constexpr FILETIME Time(DWORD high, DWORD low = 0) {
    return FILETIME{low, high};
}

class IECookieSource : public testing::Test {
protected:
    void SetUp() override {
        CookieStore::Clear();
        TakeRecordedMessages();
    }
    void TearDown() override { CookieStore::Clear(); }

    std::map<std::wstring, CRefPtr<CCookie>> EnumerateByUrl() {
        CCookieRecorder recorder;
        m_source->Enumerate(recorder);
        std::map<std::wstring, CRefPtr<CCookie>> byUrl;
        for (const auto& cookie : recorder.cookies) {
            EXPECT_EQ(CookieKind::IE, cookie->GetKind());
            byUrl[static_cast<CIECookie&>(*cookie).GetUrl()] = cookie;
        }
        EXPECT_EQ(recorder.cookies.size(), byUrl.size()) << "an entry came twice";
        return byUrl;
    }

    CRefPtr<CCookieSource> m_source = CIECookieSource::Create();
};

CRefPtr<CCookieSource> OverFake(const std::shared_ptr<CFakeUrlCache>& cache) {
    return CIECookieSource::Create(cache, std::make_shared<CWin32FileSystem>());
}

} // namespace

TEST_F(IECookieSource, ReadsHostsAndTimesOfTheRealCache) {
    const std::wstring full = CookieStore::BrowserCookieUrl(L"www.Shop.example.com", L"/cart/x");
    const std::wstring file = CookieStore::AddBrowserCookie({full, true, Time(0x01d81234, 99)});
    const std::wstring bare = CookieStore::BrowserCookieUrl(L"bare.org", L"/");
    CookieStore::AddBrowserCookie({bare, false, {}, Time(0x01d70000, 5)});
    const std::wstring noAt = L"Cookie:nouser.net/path";
    CookieStore::AddBrowserCookie({noAt, false, {}, Time(0x01d70001)});
    const std::wstring noSlash = L"Cookie:user@noslash.net";
    CookieStore::AddBrowserCookie({noSlash, true, Time(0x01d60000)});

    auto cookies = EnumerateByUrl();
    ASSERT_EQ(4u, cookies.size());
    EXPECT_EQ(L"www.Shop.example.com", cookies[full]->GetHost());
    EXPECT_EQ(file, cookies[full]->GetFile());
    EXPECT_EQ(0x01d81234u, cookies[full]->GetCreated().dwHighDateTime);
    EXPECT_EQ(99u, cookies[full]->GetLastUsed().dwLowDateTime);

    EXPECT_EQ(L"bare.org", cookies[bare]->GetHost());
    EXPECT_EQ(L"", cookies[bare]->GetFile());
    EXPECT_EQ(0u, ToUInt64(cookies[bare]->GetCreated())) << "no file, no created time";
    EXPECT_EQ(ToUInt64(Time(0x01d70000, 5)), ToUInt64(cookies[bare]->GetLastUsed()));

    EXPECT_EQ(L"Cookie:nouser.net", cookies[noAt]->GetHost()) << "up to the first slash";
    EXPECT_EQ(L"noslash.net", cookies[noSlash]->GetHost());
    EXPECT_EQ(0x01d60000u, cookies[noSlash]->GetLastUsed().dwHighDateTime);
}

TEST_F(IECookieSource, FilesItCannotOpenStillGiveTheirTimesAndNoneEndsTheLoad) {
    std::vector<std::wstring> urls;
    std::vector<std::wstring> files;
    for (const wchar_t* host :
         {L"before.com", L"held.com", L"denied.com", L"unreadable.com", L"after.com"}) {
        urls.push_back(CookieStore::BrowserCookieUrl(host));
        files.push_back(CookieStore::AddBrowserCookie(
            {urls.back(), true, Time(0x01d81000, 42), Time(0x01d75000, 7)}));
    }
    // The browser writing it: no one else may open it at all.
    CFileHandle held(::CreateFileW(files[1].c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    // Wine keeps no file permissions and the tests run as root; the access denial a reader
    // meets here is a folder where the file was, which no one may open as a file.
    ASSERT_TRUE(::DeleteFileW(files[2].c_str()));
    ASSERT_TRUE(::CreateDirectoryW(files[2].c_str(), nullptr));
    CFileHandle denied(::CreateFileW(files[2].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_FALSE(denied);
    ASSERT_EQ(DWORD(ERROR_ACCESS_DENIED), ::GetLastError());
    CookieStore::MakeUnreadable(files[3]);

    CCookieRecorder recorder;
    m_source->Enumerate(recorder);
    held.Reset();
    ::RemoveDirectoryW(files[2].c_str());
    CookieStore::RemoveUnreadable(files[3]);

    ASSERT_EQ(5u, recorder.cookies.size());
    std::map<std::wstring, CRefPtr<CCookie>> cookies;
    for (const auto& cookie : recorder.cookies) {
        cookies[static_cast<CIECookie&>(*cookie).GetUrl()] = cookie;
    }
    for (const std::size_t index : {0, 1, 4}) {
        EXPECT_EQ(ToUInt64(Time(0x01d81000, 42)), ToUInt64(cookies[urls[index]]->GetLastUsed()))
            << "the file's own time: " << index;
    }
    EXPECT_EQ(0x01d81000u, cookies[urls[0]]->GetCreated().dwHighDateTime);
    EXPECT_EQ(0x01d81000u, cookies[urls[1]]->GetCreated().dwHighDateTime) << "held open";
    EXPECT_NE(0u, ToUInt64(cookies[urls[2]]->GetCreated())) << "denied, yet its times are read";
    EXPECT_EQ(0u, ToUInt64(cookies[urls[3]]->GetCreated()));
    EXPECT_EQ(ToUInt64(Time(0x01d75000, 7)), ToUInt64(cookies[urls[3]]->GetLastUsed()))
        << "times unreadable: the entry's last access";
    EXPECT_EQ(files[3], cookies[urls[3]]->GetFile()) << "still counted with its file";
    EXPECT_EQ(std::vector<std::wstring>{LoadExpandedString(IDS_COOKIE_FILES_UNREAD)},
              recorder.notices)
        << "said once";
    EXPECT_TRUE(recorder.skipped.empty()) << "every cookie is there: pruning may go on";
}

TEST_F(IECookieSource, ReadableFilesBringNoNotice) {
    CookieStore::AddBrowserCookie({CookieStore::BrowserCookieUrl(L"a.com"), true, Time(1)});
    CookieStore::AddBrowserCookie({CookieStore::BrowserCookieUrl(L"b.com"), false, {}, Time(2)});
    auto cache = std::make_shared<CFakeUrlCache>();
    cache->entries = {{L"Cookie:u@gone.com/", L"C:\\no\\such\\file.txt", Time(3)}};
    CCookieRecorder recorder;
    m_source->Enumerate(recorder);
    OverFake(cache)->Enumerate(recorder);
    EXPECT_EQ(3u, recorder.cookies.size());
    EXPECT_TRUE(recorder.notices.empty()) << "a missing file is no unreadable one";
}

TEST_F(IECookieSource, AnEntryLargerThanTheBufferIsReadAgainNotSkipped) {
    const std::wstring longUrl =
        CookieStore::BrowserCookieUrl(L"long.example.com", L"/" + std::wstring(1500, L'p'));
    CookieStore::AddBrowserCookie(
        {CookieStore::BrowserCookieUrl(L"a.com"), true, Time(0x01d80000)});
    CookieStore::AddBrowserCookie({longUrl, true, Time(0x01d80000)});
    CookieStore::AddBrowserCookie({CookieStore::BrowserCookieUrl(L"b.com"), false, {}, {}});
    auto cookies = EnumerateByUrl();
    EXPECT_EQ(3u, cookies.size());
    ASSERT_TRUE(cookies[longUrl]);
    EXPECT_EQ(L"long.example.com", cookies[longUrl]->GetHost());

    auto cache = std::make_shared<CFakeUrlCache>();
    cache->entries = {{L"Cookie:u@small.com/", L"", Time(1)},
                      {L"Cookie:u@big.com/" + std::wstring(2000, L'q'), L"", Time(2)},
                      {L"Cookie:u@after.com/", L"", Time(3)}};
    CCookieRecorder recorder;
    OverFake(cache)->Enumerate(recorder);
    ASSERT_EQ(3u, recorder.cookies.size());
    EXPECT_EQ(L"big.com", recorder.cookies[1]->GetHost());
    ASSERT_GE(cache->offered.size(), 3u);
    EXPECT_EQ(1024u, cache->offered[0]);
    const DWORD needed = static_cast<DWORD>(sizeof(INTERNET_CACHE_ENTRY_INFOW) +
                                            (cache->entries[1].url.size() + 2) * sizeof(wchar_t));
    EXPECT_EQ(needed * 3 / 2, cache->offered[2]) << "one and a half times the need";
    EXPECT_EQ(needed * 3 / 2, cache->offered.back()) << "and never shrunk";
}

TEST_F(IECookieSource, OddEntriesLoadWhatTheyCanAndAFailingWalkRaises) {
    const std::wstring longFile = L"C:\\" + std::wstring(300, L'f') + L".txt";
    auto cache = std::make_shared<CFakeUrlCache>();
    cache->entries = {{L"", L"", Time(1)},
                      {L"", L"", Time(2), true},
                      {L"Cookie:u@longfile.com/", longFile, Time(3)},
                      {L"Cookie:u@missing.com/", L"C:\\no\\such\\file.txt", Time(4)},
                      {L"Cookie:u@last.com/", L"", Time(5)}};
    CCookieRecorder recorder;
    OverFake(cache)->Enumerate(recorder);
    ASSERT_EQ(5u, recorder.cookies.size());
    EXPECT_EQ(L"", recorder.cookies[0]->GetHost());
    EXPECT_EQ(L"", recorder.cookies[1]->GetHost());
    EXPECT_EQ(L"longfile.com", recorder.cookies[2]->GetHost());
    EXPECT_EQ(3u, recorder.cookies[2]->GetLastUsed().dwHighDateTime) << "file not read";
    EXPECT_EQ(4u, recorder.cookies[3]->GetLastUsed().dwHighDateTime);

    cache->failAt = 2;
    cache->failWith = ERROR_INVALID_HANDLE;
    recorder.cookies.clear();
    try {
        OverFake(cache)->Enumerate(recorder);
        FAIL() << "a failing walk went unnoticed";
    } catch (const CWin32Exception& e) {
        EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), e.GetCode());
        EXPECT_EQ(FormatErrorText(ERROR_INVALID_HANDLE), e.GetText());
    }
    EXPECT_TRUE(recorder.cookies.empty()) << "a cache walked in part is not listed at all";
}

TEST_F(IECookieSource, AnEmptyCacheGivesNothing) {
    EXPECT_TRUE(EnumerateByUrl().empty());
}

TEST_F(IECookieSource, DeletingRemovesTheEntryAndItsFileAndGoneCountsAsDeleted) {
    const std::wstring url = CookieStore::BrowserCookieUrl(L"del.example.com");
    const std::wstring file = CookieStore::AddBrowserCookie({url, true, Time(0x01d80000)});
    auto cookies = EnumerateByUrl();
    ASSERT_TRUE(cookies[url]);
    EXPECT_TRUE(m_source->DeleteCookie(cookies[url]));
    EXPECT_TRUE(CookieStore::BrowserCookieUrls().empty());
    EXPECT_FALSE(::PathFileExistsW(file.c_str()));
    EXPECT_TRUE(m_source->DeleteCookie(cookies[url])) << "already gone";
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

TEST_F(IECookieSource, MarkedAndGoneAreToleratedOtherFailuresAreShown) {
    auto cache = std::make_shared<CFakeUrlCache>();
    cache->deleteResults = {{L"Cookie:u@marked.com/", ERROR_ACCESS_DENIED},
                            {L"Cookie:u@gone.com/", ERROR_FILE_NOT_FOUND},
                            {L"Cookie:u@full.com/", ERROR_DISK_FULL}};
    const auto source = OverFake(cache);
    const auto cookie = [](const wchar_t* url) { return CIECookie::Create(L"", L"", {}, {}, url); };
    EXPECT_TRUE(source->DeleteCookie(cookie(L"Cookie:u@marked.com/")));
    EXPECT_TRUE(source->DeleteCookie(cookie(L"Cookie:u@gone.com/")));
    EXPECT_TRUE(TakeRecordedMessages().empty());

    EXPECT_EQ(L"refused: " + FormatErrorText(ERROR_DISK_FULL),
              Refusal(*source, {cookie(L"Cookie:u@full.com/")}));
}

// Each record of an entry's file is one cookie; an entry whose file does not parse, or has
// none, is still listed once with what the entry tells.
TEST_F(IECookieSource, DescribesEveryRecordOfTheRealFilesAndFallsBackOnTheEntry) {
    const FILETIME expires{111, 0x01e00000};
    const FILETIME created{222, 0x01d90000};
    const std::wstring bothFile = CookieStore::AddBrowserCookie(
        {CookieStore::BrowserCookieUrl(L"www.shop.com", L"/cart/"), true, Time(0x01d81234, 7), {}},
        CookieStore::CookieFileRecord("SID", "secret", "www.shop.com/cart/", expires, created) +
            CookieStore::CookieFileRecord("lang", "en", ".shop.com/", {}, created));
    const std::wstring brokenFile = CookieStore::AddBrowserCookie(
        {CookieStore::BrowserCookieUrl(L"bad.org", L"/in/"), true, Time(0x01d70000, 3), {}},
        "SID\nsecret\nbad.org/\n1536\n12\n");
    CookieStore::AddBrowserCookie(
        {CookieStore::BrowserCookieUrl(L"nofile.net", L"/x"), false, {}, Time(0x01d60000, 9)});

    CCookieRecorder recorder;
    m_source->Enumerate(recorder);
    ASSERT_EQ(3u, recorder.cookies.size());
    CCookieDescriptions found;
    m_source->DescribeCookies(recorder.cookies, found);
    ASSERT_EQ(4u, found.size());
    std::map<std::wstring, CCookieDescription> byName;
    for (const CCookieDescription& each : found) {
        EXPECT_EQ(CookieKind::IE, each.kind);
        byName[each.name + L"@" + each.host] = each;
    }

    const CCookieDescription& sid = byName[L"SID@www.shop.com"];
    EXPECT_EQ(L"/cart/", sid.path);
    EXPECT_EQ(ToUInt64(expires), ToUInt64(sid.expires));
    EXPECT_EQ(ToUInt64(created), ToUInt64(sid.created));
    EXPECT_EQ(ToUInt64(Time(0x01d81234, 7)), ToUInt64(sid.lastUsed));
    EXPECT_EQ(bothFile, sid.location);
    const CCookieDescription& lang = byName[L"lang@.shop.com"];
    EXPECT_EQ(L"/", lang.path);
    EXPECT_EQ(0u, ToUInt64(lang.expires));

    const CCookieDescription& bad = byName[L"@bad.org"];
    EXPECT_EQ(L"/in/", bad.path) << "from the entry's URL";
    EXPECT_EQ(0u, ToUInt64(bad.expires));
    EXPECT_EQ(ToUInt64(Time(0x01d70000, 3)), ToUInt64(bad.lastUsed));
    EXPECT_EQ(brokenFile, bad.location);

    const CCookieDescription& bare = byName[L"@nofile.net"];
    EXPECT_EQ(L"/x", bare.path);
    EXPECT_EQ(ToUInt64(Time(0x01d60000, 9)), ToUInt64(bare.lastUsed));
    EXPECT_EQ(L"", bare.location);
}

// The file may be gone by the time the details are asked for: the entry is still listed.
TEST_F(IECookieSource, DescribesAnEntryWhoseFileWentAwayAfterTheLoad) {
    const std::wstring file = CookieStore::AddBrowserCookie(
        {CookieStore::BrowserCookieUrl(L"gone.com", L"/"), true, Time(0x01d81234), {}},
        CookieStore::CookieFileRecord("a", "b", "gone.com/", {}, {}));
    CCookieRecorder recorder;
    m_source->Enumerate(recorder);
    ASSERT_TRUE(::DeleteFileW(file.c_str()));
    CCookieDescriptions found;
    m_source->DescribeCookies(recorder.cookies, found);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(L"gone.com", found[0].host);
    EXPECT_EQ(L"", found[0].name);
    EXPECT_EQ(file, found[0].location);
}

TEST_F(IECookieSource, ALockedEntryIsReportedAndStopsTheDomainsDeletion) {
    for (const wchar_t* path : {L"/a", L"/b", L"/c"}) {
        CookieStore::AddBrowserCookie(
            {CookieStore::BrowserCookieUrl(L"lock.com", path), true, Time(0x01d80000)});
    }
    CookieManager manager({m_source}, ProgramReport(), &::PostMessageW);
    manager.StartLoading();
    manager.WaitForLoading();
    CDomainList domains;
    manager.GetDomains(domains);
    ASSERT_EQ(1u, domains.size());
    CCookieList cookies;
    domains[0]->GetCookies(cookies);
    ASSERT_EQ(3u, cookies.size());
    const auto urlOf = [&](std::size_t index) {
        return static_cast<CIECookie&>(*cookies[index]).GetUrl();
    };

    // The browser reading the second cookie's file holds its entry locked.
    std::vector<BYTE> info(4096);
    DWORD size = static_cast<DWORD>(info.size());
    ASSERT_TRUE(::RetrieveUrlCacheEntryFileW(
        urlOf(1).c_str(), reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(info.data()), &size, 0));
    EXPECT_FALSE(manager.DeleteDomain(domains[0]));
    const auto inCache = [](const std::wstring& url) {
        DWORD needed = 0;
        return ::GetUrlCacheEntryInfoW(url.c_str(), nullptr, &needed) ||
               ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    };
    EXPECT_FALSE(inCache(urlOf(0)));
    // The cache deletes a refused entry once it is unlocked; until then the cookie is there.
    EXPECT_TRUE(inCache(urlOf(1))) << "the locked one stays while locked";
    ASSERT_TRUE(::UnlockUrlCacheEntryFileW(urlOf(1).c_str(), 0));
    EXPECT_TRUE(inCache(urlOf(2))) << "nothing after it is deleted";

    const auto shown = TakeRecordedMessages();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(FailureText(IDS_FAILED_DELETING_COOKIE, FormatErrorText(ERROR_SHARING_VIOLATION)),
              shown[0].text);
    manager.GetDomains(domains);
    EXPECT_EQ(1u, domains.size()) << "the domain is still there";
}
