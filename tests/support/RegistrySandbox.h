#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <string>

// Redirects HKEY_CURRENT_USER of this process to a fresh, empty key of its own for the life
// of the object, so a test sees a registry nobody else wrote, and leaves nothing behind.
class CRegistrySandbox {
public:
    CRegistrySandbox();
    CRegistrySandbox(const CRegistrySandbox&) = delete;
    CRegistrySandbox& operator=(const CRegistrySandbox&) = delete;
    ~CRegistrySandbox();

private:
    std::wstring m_path;
    CRegKey m_root;
};
