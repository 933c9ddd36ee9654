#include "support/MachineKeyGuard.h"

#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>

#include <sddl.h>

namespace {

void ApplySecurity(HKEY key, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                       &descriptor, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor));
    ::LocalFree(descriptor);
}

} // namespace

CMachineKeyGuard::CMachineKeyGuard(std::wstring path) : m_path(std::move(path)) {
    Remove();
}

CMachineKeyGuard::~CMachineKeyGuard() {
    Remove();
}

void CMachineKeyGuard::DenyWrites() {
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0,
                                KEY_READ | WRITE_DAC, nullptr, key.Receive(), nullptr));
    ApplySecurity(key.Get(), L"D:P(D;;KW;;;WD)(A;;KR;;;WD)");
}

void CMachineKeyGuard::Remove() {
    CRegKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, WRITE_DAC, key.Receive()) ==
        ERROR_SUCCESS) {
        ApplySecurity(key.Get(), L"D:(A;;KA;;;WD)");
        key.Reset();
        EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_path.c_str()));
    }
}
