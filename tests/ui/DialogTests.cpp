#include "cookies/CookieManager.h"
#include "cookies/DomainMessages.h"
#include "cookies/FakeCookieSource.h"
#include "res/resource.h"
#include "support/RecordedBrowser.h"
#include "support/RegistrySandbox.h"
#include "ui/CAboutDlg.h"
#include "ui/CMainDlg.h"
#include "ui/CTransitionDlg.h"
#include "ui/PageHarness.h"
#include "ui/WindowIcons.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::wstring Site = L"https://www.tollgate-app.com";

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

// Real input, as the user gives it: the system makes the double-click of two clicks and the
// dialog's own loop sees the keys. Each gesture is given time to arrive and to end.
void SendInputs(std::vector<INPUT> inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    ::Sleep(::GetDoubleClickTime() + 200);
}

// Moves the mouse onto the window's point, then presses and releases as `buttons` says.
void Mouse(HWND window, POINT at, std::initializer_list<DWORD> buttons) {
    ::ClientToScreen(window, &at);
    ::SetCursorPos(at.x, at.y);
    std::vector<INPUT> inputs;
    for (DWORD flags : buttons) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        inputs.push_back(input);
    }
    SendInputs(inputs);
}

void PressEnter() {
    std::vector<INPUT> inputs;
    for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_RETURN;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    }
    SendInputs(inputs);
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

TEST_F(Dialogs, AboutLinkOpensTheSiteOncePerClickOrEnterOnItsTextAndTheBoxStaysOpen) {
    std::vector<std::vector<std::wstring>> opened;
    bool openAfterEnter = false;
    WhileShown(
        L"About Tollgate", [&] { CAboutDlg(m_icons).DoModal(nullptr); },
        [&](HWND dialog) {
            EXPECT_EQ(reinterpret_cast<LRESULT>(m_icons.Large()),
                      ::SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
            HWND link = ::GetDlgItem(dialog, IDC_ABOUT_LINK);
            RECT client{};
            ::GetClientRect(link, &client);
            // The label is far shorter than its static: the right end is blank.
            const POINT onText{3, client.bottom / 2};
            const POINT onBlank{client.right - 2, client.bottom / 2};
            const auto take = [&] {
                // The box's thread has handled the input by now; this waits for it to be idle.
                ::SendMessageW(dialog, WM_NULL, 0, 0);
                opened.push_back(TakeBrowserRequests());
            };
            Mouse(link, onText, {MOUSEEVENTF_LEFTDOWN});
            Mouse(link, onBlank, {MOUSEEVENTF_LEFTUP});
            take();
            Mouse(link, onText,
                  {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                   MOUSEEVENTF_LEFTUP});
            take();
            PressEnter();
            take();
            openAfterEnter = ::IsWindowVisible(dialog) != FALSE;
            Mouse(link, onBlank,
                  {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                   MOUSEEVENTF_LEFTUP});
            take();
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    // Released off the text: nothing; a double-click on it: once; Enter: once; a
    // double-click beside it: nothing.
    EXPECT_EQ((std::vector<std::vector<std::wstring>>{{}, {Site}, {Site}, {}}), opened);
    EXPECT_TRUE(openAfterEnter) << "Enter on the link closed the box";
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

namespace {

// The main window's run under test, for the thread timer that drives it.
struct CBusyLoad {
    HANDLE go;
    HANDLE queued;
    HWND window = nullptr;
};
thread_local CBusyLoad* t_busyLoad = nullptr;

} // namespace

TEST_F(Dialogs, ClosingTheMainWindowDuringABusyLoadLeavesNoRecordAlive) {
    const LONG before = CRefCount::LiveObjects();
    {
        const CRegistrySandbox registry;
        const CKernelHandle go(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        const CKernelHandle queued(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        CBusyLoad load{go.Get(), queued.Get()};
        auto source = CFakeCookieSource::Create(CookieKind::IE);
        source->enumerate = [&](CCookieSink& sink) {
            const auto add = [&](int number) {
                const std::wstring host = L"d" + std::to_wstring(number) + L".com";
                sink.AddCookie(CIECookie::Create(L"C:\\c.txt", host, FILETIME{}, FILETIME{},
                                                 L"Cookie:u@" + host + L"/"));
            };
            ::WaitForSingleObject(load.go, 10000);
            for (int i = 0; i < 300; ++i) {
                add(i % 200);
            }
            ::SetEvent(load.queued);
            // The rest races the window's end.
            for (int i = 0; i < 300; ++i) {
                add(i);
            }
        };
        CookieManager manager({source}, ::PostMessageW);
        manager.StartLoading();
        CMainDlg window(manager, m_icons);
        t_busyLoad = &load;
        // Inside the window's loop, which is held while the loading thread queues its
        // messages; then the window closes with them still queued.
        ::SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR timer, DWORD) {
            ::KillTimer(nullptr, timer);
            HWND sheet = ::GetActiveWindow();
            ::SetEvent(t_busyLoad->go);
            ::WaitForSingleObject(t_busyLoad->queued, 10000);
            t_busyLoad->window = sheet;
            ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
        window.DoModal(nullptr);
        t_busyLoad = nullptr;
        manager.WaitForLoading();
        EXPECT_NE(nullptr, load.window);
        MSG stray;
        EXPECT_FALSE(
            ::PeekMessageW(&stray, nullptr, WM_DOMAIN_ADDED, WM_DOMAIN_AUTHORIZED, PM_NOREMOVE));
    }
    EXPECT_EQ(before, CRefCount::LiveObjects());
}
