#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

CRegistrySandbox::CRegistrySandbox()
    // Beside Software, not in it: the installer's test compares the keys of Software.
    : m_path(L"TollgateTests\\" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(::GetTickCount64())) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, m_root.Receive(), nullptr));
    EXPECT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(HKEY_CURRENT_USER, m_root.Get()));
}

CRegistrySandbox::~CRegistrySandbox() {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    m_root.Reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
}
