#pragma once

#include <windows.h>

// The application's module: the process's instance handle, kept from Init to Term. The
// framework's windows load their templates from this same module.
class CAppModule {
public:
    // E_INVALIDARG for a null instance.
    HRESULT Init(HINSTANCE instance) noexcept;
    void Term() noexcept { m_instance = nullptr; }

    HINSTANCE GetModuleInstance() const noexcept { return m_instance; }
    HINSTANCE GetResourceInstance() const noexcept { return m_instance; }

private:
    HINSTANCE m_instance = nullptr;
};
