#pragma once

#include "framework/WindowBase.h"

#include <windows.h>

// A window made by someone else (the system's property sheet, a static control of a
// template) whose messages this object sees first, through SetWindowSubclass. Whatever
// ProcessWindowMessage does not handle goes on to the window's own procedure. The subclass
// ends by itself with the window's WM_NCDESTROY.
class CSubclassedWindow : public CWindowBase {
public:
    // False if the window could not be subclassed.
    bool SubclassWindow(HWND window) noexcept;
    void UnsubclassWindow() noexcept;

protected:
    ~CSubclassedWindow() override;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
};
