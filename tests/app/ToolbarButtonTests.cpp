#include "app/ProductVersion.h"
#include "app/ToolbarButton.h"
#include "store/Exceptions.h"
#include "support/MachineKeyGuard.h"
#include "support/RegistryProbe.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

namespace {

// {334C4A3A-7B0F-4c55-B73F-63B37865E8FA}, the program's toolbar-button GUID.
const GUID ProgramGuid = {
    0x334C4A3A, 0x7B0F, 0x4C55, {0xB7, 0x3F, 0x63, 0xB3, 0x78, 0x65, 0xE8, 0xFA}};
const wchar_t ExtensionKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Extensions\\{334C4A3A-7B0F-4C55-B73F-63B37865E8FA}";

// Every value of a key by name, each checked to be a REG_SZ whose length counts the terminator.
std::map<std::wstring, std::wstring> ReadStringValues(HKEY root, const wchar_t* path) {
    std::map<std::wstring, std::wstring> values;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[1024];
        DWORD bytes = sizeof(data);
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                            reinterpret_cast<BYTE*>(data), &bytes) != ERROR_SUCCESS) {
            break;
        }
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << name;
        EXPECT_EQ((wcslen(data) + 1) * sizeof(wchar_t), bytes) << name;
        values[name] = data;
    }
    ::RegCloseKey(key);
    return values;
}

class ToolbarButton : public testing::Test {
protected:
    CRegistrySandbox m_user;
    CMachineKeyGuard m_extension{ExtensionKey};
};

} // namespace

TEST_F(ToolbarButton, KeyNamesTheGuidInUpperCase) {
    EXPECT_EQ(ExtensionKey, ToolbarButtonKeyPath(ProgramGuid));
}

TEST_F(ToolbarButton, ValuesComeInTheirWritingOrder) {
    const auto values = ToolbarButtonValues(L"C:\\Program Files\\Tollgate\\Tollgate.exe");
    const std::pair<std::wstring, std::wstring> expected[] = {
        {L"CLSID", L"{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}"},
        {L"MenuText", L"Tollgate"},
        {L"MenuStatusBar", L"Manage cookies."},
        {L"ButtonText", L"Tollgate"},
        {L"Default Visible", L"Yes"},
        {L"HotIcon", L"C:\\Program Files\\Tollgate\\Tollgate.exe,204"},
        {L"Icon", L"C:\\Program Files\\Tollgate\\Tollgate.exe,205"},
        {L"Exec", L"C:\\Program Files\\Tollgate\\Tollgate.exe"},
    };
    ASSERT_EQ(std::size(expected), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(expected[i].first, values[i].name) << i;
        EXPECT_EQ(expected[i].second, values[i].data) << i;
    }
}

TEST_F(ToolbarButton, RegisteringTwiceLeavesOneKeyWithTheEightValuesOfThisProgram) {
    RegisterToolbarButton(ProgramGuid);
    RegisterToolbarButton(ProgramGuid);
    const std::wstring program = GetModulePath(nullptr);
    std::map<std::wstring, std::wstring> expected;
    for (const auto& value : ToolbarButtonValues(program)) {
        expected[value.name] = value.data;
    }
    EXPECT_EQ(8u, expected.size());
    EXPECT_EQ(expected, ReadStringValues(HKEY_LOCAL_MACHINE, ExtensionKey));
    EXPECT_EQ(program, expected[L"Exec"]);
}

TEST_F(ToolbarButton, UnregisteringRemovesTheExtensionAndAllPerUserSettings) {
    RegisterToolbarButton(ProgramGuid);
    CreateKey(HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed");
    CreateKey(HKEY_CURRENT_USER, L"Software\\Other");
    UnregisterToolbarButton(ProgramGuid);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ExtensionKey));
    EXPECT_TRUE(
        KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer\\Extensions"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Tollgate"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Other"));
}

TEST_F(ToolbarButton, UnregisteringWhatWasNeverRegisteredStillRemovesTheSettings) {
    CreateKey(HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed");
    EXPECT_NO_THROW(UnregisterToolbarButton(ProgramGuid));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Tollgate"));
    EXPECT_NO_THROW(UnregisterToolbarButton(ProgramGuid));
}

TEST_F(ToolbarButton, RegisteringWhereTheMachineKeyCannotBeWrittenThrowsAccessDenied) {
    m_extension.DenyWrites();
    try {
        RegisterToolbarButton(ProgramGuid);
        ADD_FAILURE() << "no exception";
    } catch (const CWin32Exception& e) {
        EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), e.GetCode());
    }
    EXPECT_TRUE(ReadStringValues(HKEY_LOCAL_MACHINE, ExtensionKey).empty());
}
