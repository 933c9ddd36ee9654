#include "support/CookieStoreBuilder.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

namespace {

constexpr FILETIME Time(DWORD high, DWORD low = 0) {
    return FILETIME{low, high};
}

class CookieStoreBuilder : public testing::Test {
protected:
    void SetUp() override { CookieStore::Clear(); }
    void TearDown() override { CookieStore::Clear(); }
};

} // namespace

TEST_F(CookieStoreBuilder, BuildsWhatTheBrowserAndFlashWouldLeaveAndClearsIt) {
    const std::wstring withFile = CookieStore::BrowserCookieUrl(L"www.example.com", L"/shop");
    EXPECT_EQ(L"Cookie:user@www.example.com/shop", withFile);
    const std::wstring file =
        CookieStore::AddBrowserCookie({withFile, true, Time(0x01d80000), Time(0x01d90000)});
    EXPECT_TRUE(::PathFileExistsW(file.c_str()));
    const std::wstring bare = CookieStore::BrowserCookieUrl(L"bare.org");
    EXPECT_EQ(L"", CookieStore::AddBrowserCookie({bare, false, {}, Time(0x01d70000)}));
    EXPECT_EQ((std::set<std::wstring>{withFile, bare}), CookieStore::BrowserCookieUrls());

    const std::wstring sol =
        CookieStore::AddFlashFile(L"AB12\\site.net\\deep\\x.sol", Time(0x01d60000, 77));
    WIN32_FIND_DATAW found;
    const HANDLE find = ::FindFirstFileW(sol.c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    ::FindClose(find);
    EXPECT_EQ(0x01d60000u, found.ftCreationTime.dwHighDateTime);
    EXPECT_EQ(77u, found.ftLastAccessTime.dwLowDateTime);
    CookieStore::AddFlashLink(L"AB12\\site.net\\back", CookieStore::FlashRoot());
    const DWORD link =
        ::GetFileAttributesW((CookieStore::FlashRoot() + L"\\AB12\\site.net\\back").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, link);
    EXPECT_NE(0u, link & FILE_ATTRIBUTE_REPARSE_POINT);

    CookieStore::AddAuthorizedValue(L"example.com");
    EXPECT_EQ((std::set<std::wstring>{L"example.com"}), CookieStore::AuthorizedValues());

    CookieStore::Clear();
    EXPECT_TRUE(CookieStore::BrowserCookieUrls().empty());
    EXPECT_FALSE(::PathFileExistsW(file.c_str()));
    EXPECT_FALSE(::PathFileExistsW(CookieStore::FlashRoot().c_str()));
    EXPECT_TRUE(CookieStore::AuthorizedValues().empty());
}
