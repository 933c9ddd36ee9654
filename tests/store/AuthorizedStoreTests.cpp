#include "store/AuthorizedStore.h"
#include "store/Exceptions.h"
#include "support/CookieStoreBuilder.h"
#include "support/KeySecurity.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Names = std::set<std::wstring>;

class AuthorizedStore : public testing::Test {
protected:
    CRegistrySandbox m_sandbox;
};

Names Loaded() {
    const std::vector<std::wstring> names = LoadAuthorizedSet();
    return Names(names.begin(), names.end());
}

} // namespace

// A read-only command loads too: reading writes nothing, not even the key.
TEST_F(AuthorizedStore, FirstLoadFindsNothingAndCreatesNothing) {
    EXPECT_TRUE(Loaded().empty());
    HKEY key = nullptr;
    EXPECT_EQ(
        ERROR_FILE_NOT_FOUND,
        ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", 0, KEY_READ, &key));
}

TEST_F(AuthorizedStore, WritesRemovesAndPrunesByName) {
    WriteAuthorized(L"a.com");
    WriteAuthorized(L"a.com");
    WriteAuthorized(L"b.org");
    WriteAuthorized(L"c.net");
    EXPECT_EQ((Names{L"a.com", L"b.org", L"c.net"}), CookieStore::AuthorizedValues());
    EXPECT_EQ((Names{L"a.com", L"b.org", L"c.net"}), Loaded());

    RemoveAuthorized(L"b.org");
    EXPECT_NO_THROW(RemoveAuthorized(L"b.org")) << "removed by hand, or twice";
    PruneAuthorized({L"c.net", L"gone.example"});
    EXPECT_EQ((Names{L"a.com"}), CookieStore::AuthorizedValues());
}

TEST_F(AuthorizedStore, NamesOfAnyLengthAndValuesOfAnyTypeAreReadByName) {
    const std::wstring n300(300, L'x');
    const std::wstring nMax(16383, L'y');
    WriteAuthorized(n300);
    WriteAuthorized(nMax);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", 0,
                                             KEY_WRITE, &key));
    const DWORD number = 1;
    ::RegSetValueExW(key, L"dword.example", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof number);
    ::RegSetValueExW(key, L"binary.example", 0, REG_BINARY, reinterpret_cast<const BYTE*>("ab"), 2);
    ::RegCloseKey(key);
    EXPECT_EQ((Names{n300, nMax, L"dword.example", L"binary.example"}), Loaded());
}

TEST_F(AuthorizedStore, ARefusedWriteRaisesAndChangesNothing) {
    WriteAuthorized(L"kept.com");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", 0,
                                             WRITE_DAC | READ_CONTROL, &key));
    DenyKeyWrites(key);
    ::RegCloseKey(key);

    EXPECT_THROW(WriteAuthorized(L"new.com"), CWin32Exception);
    EXPECT_THROW(RemoveAuthorized(L"kept.com"), CWin32Exception);
    EXPECT_EQ((Names{L"kept.com"}), CookieStore::AuthorizedValues());
}
