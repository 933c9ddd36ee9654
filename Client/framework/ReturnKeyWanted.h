#pragma once

#include "framework/SubclassedWindow.h"

#include <windows.h>

// Lets a control of a dialog see the Enter key itself: the dialog manager would otherwise
// press the default button (in a property sheet: OK). A list view then tells its parent with
// NM_RETURN.
class CReturnKeyWanted final : public CSubclassedWindow {
protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;
};
