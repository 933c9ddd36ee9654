#include "ui/CTransitionDlg.h"

#include "app/WebPages.h"

bool CTransitionDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result) {
    if (message == WM_INITDIALOG) {
        m_icons.Apply(window);
        ::CheckDlgButton(window, IDC_GET_STARTED, BST_CHECKED);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK &&
               ::IsDlgButtonChecked(window, IDC_GET_STARTED) == BST_CHECKED) {
        // Only OK opens the page: Esc and the close box leave it shut even when ticked.
        OpenGettingStartedPage();
    }
    return CSimpleDialog::ProcessWindowMessage(window, message, wParam, lParam, result);
}
