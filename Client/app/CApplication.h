#pragma once

#include "framework/UniqueHandle.h"
#include "ui/WindowIcons.h"

#include <windows.h>

// The process's frame: the window icons, the rich-edit library while the program runs, and
// the toolbar button's GUID. One static instance lives for the whole process.
class CApplication {
public:
    CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    const CWindowIcons& Icons() const noexcept { return m_icons; }

    // The entry's three ways through, by command line (without the program's name): register
    // the toolbar button, unregister it, or run the program. Returns the exit code; a failure
    // is shown as "Unhandled Exception:" and gives 1.
    int Main(const wchar_t* commandLine);

private:
    CWindowIcons m_icons;
    CModuleHandle m_richEdit;
    GUID m_toolbarButton;
};
