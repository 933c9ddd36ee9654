#pragma once

#include <windows.h>

#include <string>

// Deletes a key below HKEY_LOCAL_MACHINE of the private prefix when the test starts and again
// when it ends, also after a deny entry was put on its security.
class CMachineKeyGuard {
public:
    explicit CMachineKeyGuard(std::wstring path);
    CMachineKeyGuard(const CMachineKeyGuard&) = delete;
    CMachineKeyGuard& operator=(const CMachineKeyGuard&) = delete;
    ~CMachineKeyGuard();

    // Creates the key and lets everyone read it but nobody write it, as for an account without
    // administrator rights (writes below HKEY_LOCAL_MACHINE always succeed under Wine).
    void DenyWrites();

private:
    std::wstring m_path;
};
