#include "store/ErrorText.h"
#include "support/MachineKeyGuard.h"
#include "support/ProgramDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const wchar_t ExtensionKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Extensions\\{334C4A3A-7B0F-4C55-B73F-63B37865E8FA}";

bool KeyExists(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

void CreateKey(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    ::RegCloseKey(key);
}

// Tollgate.exe runs in this very prefix, so it sees the registry the test prepares; each test
// removes the program's keys before and after.
class ProgramCommands : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollgate"); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollgate"); }

    CMachineKeyGuard m_extension{ExtensionKey};
};

} // namespace

TEST_F(ProgramCommands, UnregisterRemovesTheExtensionAndThePerUserSettings) {
    CreateKey(HKEY_LOCAL_MACHINE, ExtensionKey);
    CreateKey(HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed");
    CProgramRun run(L"-u");
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(0u, run.WaitForExit());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ExtensionKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Tollgate"));
}

TEST_F(ProgramCommands, RegisterWithoutWriteAccessReportsTheSystemErrorAndExitsWith1) {
    m_extension.DenyWrites();
    CProgramRun run(L"-r");
    ASSERT_TRUE(run.Started());
    const CSeenMessageBox box = run.WaitForMessageBox();
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(L"Tollgate", box.caption);
    EXPECT_EQ(L"Unhandled Exception:\n\n" + FormatErrorText(ERROR_ACCESS_DENIED), box.text);
    EXPECT_EQ(nullptr, run.WaitForDialog(L"Tollgate - Install Successful!", 0));
    Answer(box.window, IDOK);
    EXPECT_EQ(1u, run.WaitForExit());
}
