#include "framework/ReturnKeyWanted.h"

#include <commctrl.h>

bool CReturnKeyWanted::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT& result) {
    if (message != WM_GETDLGCODE) {
        return false;
    }
    const auto* pending = reinterpret_cast<const MSG*>(lParam);
    result = ::DefSubclassProc(window, message, wParam, lParam);
    if (pending != nullptr && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) {
        result |= DLGC_WANTMESSAGE;
    }
    return true;
}
