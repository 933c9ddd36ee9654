#include "framework/DialogImpl.h"

#include "framework/CallbackBarrier.h"

namespace {

// These answer through the procedure's return value; every other handled message through
// DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) noexcept {
    switch (message) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

} // namespace

INT_PTR CALLBACK CDialogImplBase::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        Attach(window, reinterpret_cast<CDialogImplBase*>(lParam));
    }
    return Route(window, message, wParam, lParam);
}

void CDialogImplBase::Attach(HWND window, CDialogImplBase* self) noexcept {
    self->m_hWnd = window;
    ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
}

INT_PTR CDialogImplBase::Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<CDialogImplBase*>(::GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->Dispatch(window, message, wParam, lParam) : FALSE;
}

INT_PTR CDialogImplBase::Dispatch(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
    LRESULT result = 0;
    const bool handled = CallbackBarrier(
        false, [&] { return ProcessWindowMessage(window, message, wParam, lParam, result); });
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, DWLP_USER, 0);
        m_hWnd = nullptr;
        CallbackBarrier(0, [this] {
            OnFinalMessage();
            return 0;
        });
        // The object may be gone now.
    }
    if (!handled) {
        return FALSE;
    }
    if (AnswersDirectly(message)) {
        return static_cast<INT_PTR>(result);
    }
    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}
