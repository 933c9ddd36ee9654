#include "cookies/DomainMessages.h"
#include "res/resource.h"
#include "support/RecordedBrowser.h"
#include "ui/CAboutDlg.h"
#include "ui/CMainDlg.h"
#include "ui/CTransitionDlg.h"
#include "ui/PageHarness.h"
#include "ui/WindowIcons.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::wstring Site = L"https://www.tollgate-app.com";

// This process's visible dialog with the caption, waited for.
HWND WaitForOwnDialog(const wchar_t* caption) {
    for (int i = 0; i < 200; ++i) {
        HWND window = ::FindWindowW(L"#32770", caption);
        DWORD process = 0;
        if (window != nullptr && ::GetWindowThreadProcessId(window, &process) &&
            process == ::GetCurrentProcessId() && ::IsWindowVisible(window)) {
            return window;
        }
        ::Sleep(50);
    }
    return nullptr;
}

// Runs `show` (a modal dialog) on this thread while `drive` acts on the dialog from another
// thread, as a user would.
void WhileShown(const wchar_t* caption, const std::function<void()>& show,
                const std::function<void(HWND)>& drive) {
    std::thread user([&] {
        HWND dialog = WaitForOwnDialog(caption);
        EXPECT_NE(nullptr, dialog) << "no dialog";
        if (dialog != nullptr) {
            drive(dialog);
        }
    });
    show();
    user.join();
}

void ClickAt(HWND control, int x, int y, int releaseX) {
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(releaseX, y));
}

std::vector<std::wstring> ListedNames(HWND page) {
    HWND list = ::GetDlgItem(page, IDC_COOKIE_LIST);
    std::vector<std::wstring> names;
    for (int i = 0, count = ListView_GetItemCount(list); i < count; ++i) {
        wchar_t text[256] = {};
        ListView_GetItemText(list, i, 0, text, 256);
        names.push_back(text);
    }
    return names;
}

class Dialogs : public testing::Test {
protected:
    void SetUp() override { TakeBrowserRequests(); }

    CWindowIcons m_icons{::GetModuleHandleW(nullptr)};
};

} // namespace

TEST_F(Dialogs, InstallDialogOpensTheGettingStartedPageOnOkWithTheBoxTicked) {
    INT_PTR result = 0;
    WhileShown(
        L"Tollgate - Install Successful!",
        [&] { result = CTransitionDlg(m_icons).DoModal(nullptr); },
        [&](HWND dialog) {
            EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(dialog, IDC_GET_STARTED));
            EXPECT_EQ(reinterpret_cast<LRESULT>(m_icons.Large()),
                      ::SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
            EXPECT_EQ(reinterpret_cast<LRESULT>(m_icons.Small()),
                      ::SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
            ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(std::vector<std::wstring>{Site + L"/gettingstarted.html"}, TakeBrowserRequests());
}

TEST_F(Dialogs, InstallDialogOpensNothingWithTheBoxClearedOrWhenClosedOtherwise) {
    WhileShown(
        L"Tollgate - Install Successful!", [&] { CTransitionDlg(m_icons).DoModal(nullptr); },
        [](HWND dialog) {
            ::SendMessageW(::GetDlgItem(dialog, IDC_GET_STARTED), BM_CLICK, 0, 0);
            EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(dialog, IDC_GET_STARTED));
            ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        });
    for (UINT close : {static_cast<UINT>(WM_CLOSE), static_cast<UINT>(WM_COMMAND)}) {
        INT_PTR result = 0;
        WhileShown(
            L"Tollgate - Install Successful!",
            [&] { result = CTransitionDlg(m_icons).DoModal(nullptr); },
            [close](HWND dialog) {
                ::PostMessageW(dialog, close, close == WM_COMMAND ? IDCANCEL : 0, 0);
            });
        EXPECT_EQ(IDCANCEL, result);
    }
    EXPECT_TRUE(TakeBrowserRequests().empty());
}

TEST_F(Dialogs, AboutLinkOpensTheSiteOnlyWhenReleasedOnItAndTheBoxStaysOpen) {
    WhileShown(
        L"About Tollgate", [&] { CAboutDlg(m_icons).DoModal(nullptr); },
        [&](HWND dialog) {
            HWND link = ::GetDlgItem(dialog, IDC_ABOUT_LINK);
            RECT client{};
            ::GetClientRect(link, &client);
            ClickAt(link, 3, 3, client.right - 1);
            EXPECT_TRUE(TakeBrowserRequests().empty()) << "released outside the address";
            ClickAt(link, 3, 3, 3);
            EXPECT_EQ(std::vector<std::wstring>{Site}, TakeBrowserRequests());
            EXPECT_TRUE(::IsWindowVisible(dialog));
            EXPECT_EQ(reinterpret_cast<LRESULT>(m_icons.Large()),
                      ::SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
}

TEST_F(Dialogs, MainWindowRoutesDomainsByTheirStateAndLeavesTheManagerWhenClosed) {
    const LONG before = CRefCount::LiveObjects();
    {
        CFakeDomainService service;
        CRefPtr<CCookieDomain> kept = MakeDomain(L"kept.com", 2, 10, 100);
        kept->SetAuthorized();
        CRefPtr<CCookieDomain> open = MakeDomain(L"open.com", 1, 10, 100);
        service.domains = {kept, open};
        CRefPtr<CCookieDomain> later = MakeDomain(L"later.com", 1, 5, 50);

        CMainDlg window(service, m_icons);
        HWND sheet = nullptr;
        WhileShown(
            L"Tollgate", [&] { window.DoModal(nullptr); },
            [&](HWND shown) {
                sheet = shown;
                EXPECT_EQ(sheet, service.window);
                HWND review =
                    reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
                EXPECT_EQ(std::vector<std::wstring>{L"open.com"}, ListedNames(review));

                // Authorized while still listed on the other page: added to "Authorized" anyway.
                open->AddRef();
                ::SendMessageW(sheet, WM_DOMAIN_AUTHORIZED, reinterpret_cast<WPARAM>(open.Get()),
                               0);
                later->AddRef();
                ::SendMessageW(sheet, WM_DOMAIN_ADDED, reinterpret_cast<WPARAM>(later.Get()), 0);
                ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
                HWND allowed =
                    reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
                EXPECT_EQ((std::vector<std::wstring>{L"kept.com", L"open.com"}),
                          ListedNames(allowed));
                ::SendMessageW(sheet, PSM_SETCURSEL, 0, 0);
                EXPECT_EQ((std::vector<std::wstring>{L"later.com", L"open.com"}),
                          ListedNames(review));

                ::SendMessageW(sheet, WM_COMMAND, IDC_NEWS, 0);
                EXPECT_EQ(std::vector<std::wstring>{Site + L"/cookienews.html"},
                          TakeBrowserRequests());
                ::PostMessageW(::GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
            });
        EXPECT_EQ(nullptr, service.window);
    }
    // Every message's reference was released along with the window's own.
    EXPECT_EQ(before, CRefCount::LiveObjects());
}
