#pragma once

#include "app/ComApartment.h"
#include "cookies/CWin32RestartManager.h"
#include "framework/AppModule.h"
#include "framework/UniqueHandle.h"
#include "ui/WindowIcons.h"

#include <windows.h>

#include <optional>

class CookieManager;

// The process's frame: the window icons, the framework's module, the window thread's COM
// apartment and the rich-edit library while the program runs, and the toolbar button's GUID. One
// static instance lives for the whole process, constructed before the cookie manager and destroyed
// after it.
class CApplication {
public:
    CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;
    ~CApplication();

    const CWindowIcons& Icons() const noexcept { return m_icons; }

    // The entry's ways through, by command line (without the program's name): register the
    // toolbar button and show the install dialog, unregister, one of the window-less commands,
    // or run the program. Returns the exit code; a failure is shown as "Unhandled Exception:"
    // and gives 1.
    int Main(CookieManager& manager, const wchar_t* commandLine);

private:
    void StartUp(CookieManager& manager);
    INT_PTR Run(CookieManager& manager);
    void ShutDown(CookieManager& manager);

    CWindowIcons m_icons;
    CAppModule m_module;
    std::optional<CComApartment> m_apartment;
    CModuleHandle m_richEdit;
    GUID m_toolbarButton;
    CWin32RestartManager m_restartManager;
};
