#include "store/Exceptions.h"
#include "store/Registry.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class Registry : public testing::Test {
protected:
    CRegistrySandbox m_sandbox;
};

DWORD ValueType(HKEY key, const wchar_t* name, DWORD& bytes) {
    DWORD type = 0;
    bytes = 0;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes));
    return type;
}

} // namespace

TEST_F(Registry, OpenKeyCreatesOnlyWhenAsked) {
    CRegKey key;
    EXPECT_FALSE(OpenKey(key, HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", false));
    EXPECT_FALSE(key);
    EXPECT_FALSE(OpenKey(key, HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", true));
    EXPECT_TRUE(key) << "created";
    EXPECT_TRUE(OpenKey(key, HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", false));
    EXPECT_TRUE(key);
}

TEST_F(Registry, StringValuesAreStoredWithTheirTerminator) {
    CRegKey key;
    OpenKey(key, HKEY_CURRENT_USER, L"Software\\Tollgate", true);
    SetStringValue(key.Get(), L"example.com", L"");
    SetStringValue(key.Get(), L"Exec", L"C:\\Tollgate.exe");
    DWORD bytes = 0;
    EXPECT_EQ(DWORD(REG_SZ), ValueType(key.Get(), L"example.com", bytes));
    EXPECT_EQ(2u, bytes);
    EXPECT_EQ(DWORD(REG_SZ), ValueType(key.Get(), L"Exec", bytes));
    EXPECT_EQ(sizeof(L"C:\\Tollgate.exe"), bytes);
    SetStringValue(key.Get(), L"example.com", L"");

    std::wstring name;
    std::set<std::wstring> names;
    for (DWORD i = 0; EnumValueName(key.Get(), i, name); ++i) {
        names.insert(name);
    }
    EXPECT_EQ((std::set<std::wstring>{L"Exec", L"example.com"}), names) << "overwritten, not added";
}

TEST_F(Registry, DeletingWhatIsGoneIsNoError) {
    CRegKey key;
    OpenKey(key, HKEY_CURRENT_USER, L"Software\\Tollgate", true);
    SetStringValue(key.Get(), L"a.com", L"");
    DeleteValue(key.Get(), L"a.com");
    EXPECT_NO_THROW(DeleteValue(key.Get(), L"a.com"));
    std::wstring name;
    EXPECT_FALSE(EnumValueName(key.Get(), 0, name));

    CRegKey nested;
    OpenKey(nested, HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed\\Deeper", true);
    SetStringValue(nested.Get(), L"x", L"");
    nested.Reset();
    CRegKey software;
    OpenKey(software, HKEY_CURRENT_USER, L"Software", false);
    DeleteKeyTree(software.Get(), L"Tollgate");
    key.Reset();
    EXPECT_FALSE(OpenKey(key, HKEY_CURRENT_USER, L"Software\\Tollgate", false));
    EXPECT_NO_THROW(DeleteKeyTree(software.Get(), L"Tollgate"));
}

TEST_F(Registry, ValueNamesOfAnyAllowedLengthAndAnyTypeAreEnumeratedByName) {
    CRegKey key;
    OpenKey(key, HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", true);
    const std::wstring n300(300, L'a');
    const std::wstring nMax(16383, L'b');
    SetStringValue(key.Get(), n300, L"");
    SetStringValue(key.Get(), nMax, L"");
    const DWORD number = 7;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegSetValueExW(key.Get(), L"dword.example", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&number), sizeof number));

    std::set<std::wstring> names;
    std::wstring name;
    for (DWORD i = 0; EnumValueName(key.Get(), i, name); ++i) {
        names.insert(name);
    }
    EXPECT_EQ((std::set<std::wstring>{n300, nMax, L"dword.example"}), names);
}

TEST_F(Registry, RefusedWritesRaiseTheSystemError) {
    CRegKey writable;
    OpenKey(writable, HKEY_CURRENT_USER, L"Software\\Tollgate", true);
    CRegKey readOnly;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tollgate", 0, KEY_READ,
                                             readOnly.Receive()));
    try {
        SetStringValue(readOnly.Get(), L"a.com", L"");
        FAIL() << "a read-only key took a write";
    } catch (const CWin32Exception& e) {
        EXPECT_EQ(DWORD(ERROR_ACCESS_DENIED), e.GetCode());
        EXPECT_FALSE(e.GetText().empty());
    }
}
