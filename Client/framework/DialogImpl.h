#pragma once

#include "framework/WindowBase.h"

#include <windows.h>

// What dialogs and property pages share: `this` is kept in the window's DWLP_USER from
// WM_INITDIALOG on, and every message goes through ProcessWindowMessage. A handled message's
// result is answered the way a dialog procedure must (DWLP_MSGRESULT, or returned directly
// for the few messages that want that, such as WM_INITDIALOG).
class CDialogImplBase : public CWindowBase {
protected:
    // The dialog procedure for DialogBoxParamW with this object as the init parameter.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Keeps `self` with the window; the thunks call it at WM_INITDIALOG.
    static void Attach(HWND window, CDialogImplBase* self) noexcept;
    // Hands the message to the object kept with the window (none before WM_INITDIALOG).
    static INT_PTR Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
};
