#include "support/MachineKeyGuard.h"

#include "framework/UniqueHandle.h"
#include "support/KeySecurity.h"

#include <gtest/gtest.h>

CMachineKeyGuard::CMachineKeyGuard(std::wstring path) : m_path(std::move(path)) {
    ForceDeleteKeyTree(HKEY_LOCAL_MACHINE, m_path);
}

CMachineKeyGuard::~CMachineKeyGuard() {
    ForceDeleteKeyTree(HKEY_LOCAL_MACHINE, m_path);
}

void CMachineKeyGuard::DenyWrites() {
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0,
                                KEY_READ | WRITE_DAC, nullptr, key.Receive(), nullptr));
    DenyKeyWrites(key.Get());
}
