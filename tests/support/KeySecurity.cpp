#include "support/KeySecurity.h"

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

// The owner may always change the security, whatever the entries say.
void GrantAll(HKEY parent, const std::wstring& path) {
    CRegKey key;
    if (::RegOpenKeyExW(parent, path.c_str(), 0, WRITE_DAC, key.Receive()) != ERROR_SUCCESS) {
        return;
    }
    ApplySecurity(key.Get(), L"D:(A;;KA;;;WD)");
    key.Reset();
    if (::RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) {
        return;
    }
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = ARRAYSIZE(name);
        if (::RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        GrantAll(key.Get(), name);
    }
}

} // namespace

void DenyKeyWrites(HKEY key) {
    ApplySecurity(key, L"D:P(D;;KW;;;WD)(A;;KR;;;WD)");
}

void ForceDeleteKeyTree(HKEY parent, const std::wstring& path) {
    GrantAll(parent, path);
    const LSTATUS deleted = ::RegDeleteTreeW(parent, path.c_str());
    EXPECT_TRUE(deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND) << deleted;
}
