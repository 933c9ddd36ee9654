#pragma once

#include <windows.h>

// Base of the framework's window classes: the window handle and the one virtual through
// which every message is dispatched. A derived class overrides ProcessWindowMessage, handles
// what it knows and ends with `return Base::ProcessWindowMessage(...)`, so its own map is
// tried first and falls through to its base's.
class CWindowBase {
public:
    CWindowBase() = default;
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;

    // Null while the object has no window.
    HWND GetHwnd() const noexcept { return m_hWnd; }

protected:
    virtual ~CWindowBase() = default;

    // True when the message was handled; `result` is then its answer.
    virtual bool ProcessWindowMessage(HWND /*window*/, UINT /*message*/, WPARAM /*wParam*/,
                                      LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }

    // Runs after the window's last message (WM_NCDESTROY), when the handle is already null.
    virtual void OnFinalMessage() {}

    HWND m_hWnd = nullptr;
};
