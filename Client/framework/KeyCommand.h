#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

// A key that works wherever the focus is inside one window, as an accelerator would: a modal
// loop that is not ours (the property sheet's) translates no accelerators. While the object
// lives, pressing the key in the window or any of its children posts WM_COMMAND with the
// command id to the window instead. One per thread.
class CKeyCommand {
public:
    CKeyCommand(HWND window, UINT key, WORD command) noexcept;
    CKeyCommand(const CKeyCommand&) = delete;
    CKeyCommand& operator=(const CKeyCommand&) = delete;
    ~CKeyCommand();

private:
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

    HWND m_window;
    UINT m_key;
    WORD m_command;
    CHookHandle m_hook;
};
