#include "support/RegistrySandbox.h"

#include "support/KeySecurity.h"

#include <gtest/gtest.h>

namespace {

// Two sandboxes of one process can begin within the same millisecond: the performance counter
// tells them apart where the tick count does not.
std::wstring UniqueName() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(now.QuadPart);
}

} // namespace

CRegistrySandbox::CRegistrySandbox()
    // Beside Software, not in it: the installer's test compares the keys of Software.
    : m_path(L"TollgateTests\\" + UniqueName()) {
    DWORD disposition = 0;
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, m_root.Receive(), &disposition));
    EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition) << "a sandbox is never shared";
    EXPECT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(HKEY_CURRENT_USER, m_root.Get()));
}

CRegistrySandbox::~CRegistrySandbox() {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    m_root.Reset();
    ForceDeleteKeyTree(HKEY_CURRENT_USER, m_path);
}
