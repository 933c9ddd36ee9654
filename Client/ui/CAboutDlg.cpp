#include "ui/CAboutDlg.h"

#include "app/ProductVersion.h"
#include "app/WebPages.h"
#include "framework/WindowText.h"
#include "store/Exceptions.h"
#include "ui/ShowMessage.h"
#include "res/StringLoader.h"

namespace {

constexpr int LargeIconSize = 48;

} // namespace

bool CAboutDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT& result) {
    if (message == WM_INITDIALOG) {
        OnInitDialog(window);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDC_ABOUT_LINK) {
        // Only the link's own activation (notification 0): never a notification of the static.
        result = 0;
        if (HIWORD(wParam) == 0) {
            OpenHomePage();
        }
        return true;
    }
    return CSimpleDialog::ProcessWindowMessage(window, message, wParam, lParam, result);
}

void CAboutDlg::OnInitDialog(HWND window) {
    ShowVersion(window);
    m_hyperLink.SetHyperLinkExtendedStyle(HLINK_COMMANDBUTTON);
    m_hyperLink.SubclassWindow(::GetDlgItem(window, IDC_ABOUT_LINK));
    m_hIcon.Reset(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TOLLGATE),
                                        IMAGE_ICON, LargeIconSize, LargeIconSize, 0)));
    ::SendDlgItemMessageW(window, IDC_ABOUT_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(m_hIcon.Get()), 0);
    m_icons.Apply(window);
}

// The template's "Version %s" is the format. When the version cannot be read, the box says
// why and keeps the template's line, rather than the failure closing the program's window.
void CAboutDlg::ShowVersion(HWND window) {
    HWND line = ::GetDlgItem(window, IDC_ABOUT_VERSION);
    try {
        const std::wstring version = GetProductVersion();
        ::SetWindowTextW(line,
                         FormatString(GetWindowString(line).c_str(), version.c_str()).c_str());
    } catch (const CException& e) {
        ShowMessage(e.GetText(), MB_OK | MB_ICONWARNING);
    }
}
