#include "app/ProgramSources.h"
#include "cookies/CBrowserCloser.h"
#include "cookies/CCookie.h"
#include "cookies/CookieManager.h"
#include "cookies/DomainMessages.h"
#include "cookies/FakeCookieSource.h"
#include "cookies/FileTime.h"
#include "framework/WindowText.h"
#include "res/resource.h"
#include "sqlite/CSqliteDatabase.h"
#include "store/AuthorizedStore.h"
#include "support/BrowserStandIn.h"
#include "support/BrowserStoreBuilder.h"
#include "support/CookieStoreBuilder.h"
#include "support/EmptyStores.h"
#include "support/FakeRestartManager.h"
#include "support/ProgramDriver.h"
#include "support/RecordedBrowser.h"
#include "support/RecordedMessages.h"
#include "support/RegistrySandbox.h"
#include "ui/CAboutDlg.h"
#include "ui/CDetailsDlg.h"
#include "ui/CMainDlg.h"
#include "ui/CTransitionDlg.h"
#include "ui/PageHarness.h"
#include "ui/StatusText.h"
#include "res/StringLoader.h"
#include "ui/TimeText.h"
#include "ui/WindowIcons.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <utility>
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

// A key pressed and released.
std::vector<INPUT> KeyStroke(WORD key) {
    std::vector<INPUT> inputs;
    for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    }
    return inputs;
}

void PressEnter() {
    SendInputs(KeyStroke(VK_RETURN));
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
    CFakeRestartManager m_restart;
    CBrowserCloser m_closer{m_restart};
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

        CMainDlg window(service, m_icons, m_closer);
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
        CookieManager manager({source}, ProgramReport(), ::PostMessageW);
        manager.StartLoading();
        CMainDlg window(manager, m_icons, m_closer);
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

namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// The name a screen reader gives the control: its own text; for a combo box the label just
// before it; for the tabs, the tab that is shown.
std::wstring AccessibleName(HWND control) {
    const std::wstring kind = ClassOf(control);
    if (kind == L"ComboBox") {
        return TextOf(::GetWindow(control, GW_HWNDPREV));
    }
    if (kind == L"SysTabControl32") {
        wchar_t text[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        ::SendMessageW(control, TCM_GETITEMW, ::SendMessageW(control, TCM_GETCURSEL, 0, 0),
                       reinterpret_cast<LPARAM>(&item));
        return text;
    }
    return TextOf(control);
}

// Every control the user can tab to below `parent`, with its name.
void CollectFocusable(HWND parent, std::vector<std::pair<HWND, std::wstring>>& found) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
        if ((style & WS_VISIBLE) == 0) {
            continue;
        }
        // A page holds controls; it takes no focus itself. Nor do the parts of a control.
        if (ClassOf(child) == L"#32770") {
            CollectFocusable(child, found);
        } else if ((style & WS_TABSTOP) != 0) {
            found.emplace_back(child, AccessibleName(child));
        }
    }
}

} // namespace

TEST_F(Dialogs, EveryFocusableControlHasANameAndEachListIsNamedByItsPage) {
    CFakeDomainService service;
    service.domains = {MakeDomain(L"open.com", 1, 10, 100)};
    CMainDlg window(service, m_icons, m_closer);
    WhileShown(
        L"Tollgate", [&] { window.DoModal(nullptr); },
        [&](HWND sheet) {
            for (int page : {0, 1}) {
                ::SendMessageW(sheet, PSM_SETCURSEL, page, 0);
                std::vector<std::pair<HWND, std::wstring>> focusable;
                CollectFocusable(sheet, focusable);
                EXPECT_LT(8u, focusable.size());
                for (const auto& [control, name] : focusable) {
                    EXPECT_FALSE(name.empty())
                        << ClassOf(control) << " " << ::GetDlgCtrlID(control) << " has no name";
                }
            }
            EXPECT_EQ(L"Not Authorized", TextOf(ListOf(ToReviewPage(sheet))));
            EXPECT_EQ(L"Authorized", TextOf(ListOf(AllowedPage(sheet))));
            ::PostMessageW(::GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
        });
}

namespace {

// A key, given a short moment to arrive: no double-click can come of a single key.
void PressKey(WORD key) {
    std::vector<INPUT> inputs = KeyStroke(key);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    ::Sleep(150);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Tab, and the focus once it has moved: a busy machine may take longer than the key's pause.
HWND TabFrom(HWND sheet) {
    const HWND from = FocusOf(sheet);
    PressKey(VK_TAB);
    HWND focus = from;
    WaitUntil([&] { return (focus = FocusOf(sheet)) != from; }, 5000);
    return focus;
}

} // namespace

TEST_F(Dialogs, TabReachesEveryControlOnceAndSpaceTicksTheFocusedRow) {
    CFakeDomainService service;
    service.domains = {MakeDomain(L"a.com", 1, 10, 100), MakeDomain(L"b.com", 1, 10, 100)};
    CMainDlg window(service, m_icons, m_closer);
    WhileShown(
        L"Tollgate", [&] { window.DoModal(nullptr); },
        [&](HWND sheet) {
            ::SetForegroundWindow(sheet);
            std::vector<std::pair<HWND, std::wstring>> focusable;
            CollectFocusable(sheet, focusable);
            HWND list = ListOf(ToReviewPage(sheet));
            std::vector<HWND> visited;
            for (std::size_t step = 0; step < focusable.size(); ++step) {
                visited.push_back(TabFrom(sheet));
            }
            // One round reaches each control once and comes back to where it began.
            std::vector<HWND> expected;
            for (const auto& each : focusable) {
                expected.push_back(each.first);
            }
            std::vector<HWND> reached = visited;
            std::sort(expected.begin(), expected.end());
            std::sort(reached.begin(), reached.end());
            std::wstring order;
            for (HWND each : visited) {
                order += ClassOf(each) + L":" + std::to_wstring(::GetDlgCtrlID(each)) + L" ";
            }
            EXPECT_EQ(expected, reached) << std::string(order.begin(), order.end());
            // The page's controls in their order, then the bottom row from left to right.
            HWND review = ToReviewPage(sheet);
            const auto first =
                std::find(visited.begin(), visited.end(), ::GetDlgItem(review, IDC_FILTER));
            if (first != visited.end()) {
                std::rotate(visited.begin(), first, visited.end());
            }
            const auto at = [&](HWND control) {
                return std::find(visited.begin(), visited.end(), control) - visited.begin();
            };
            EXPECT_LT(at(::GetDlgItem(review, IDC_FILTER)), at(list));
            EXPECT_LT(at(list), at(::GetDlgItem(review, IDC_CHECK_ALL)));
            EXPECT_LT(at(::GetDlgItem(review, IDC_CHECK_ALL)),
                      at(::GetDlgItem(review, IDC_DELETE)));
            EXPECT_LT(at(::GetDlgItem(review, IDC_DELETE)), at(::GetDlgItem(sheet, IDC_ABOUT)));
            EXPECT_LT(at(::GetDlgItem(sheet, IDC_ABOUT)), at(::GetDlgItem(sheet, IDC_REFRESH)));
            EXPECT_LT(at(::GetDlgItem(sheet, IDC_REFRESH)), at(::GetDlgItem(sheet, IDOK)));

            for (std::size_t step = 0; step < focusable.size() && FocusOf(sheet) != list; ++step) {
                TabFrom(sheet);
            }
            ASSERT_EQ(list, FocusOf(sheet));
            ListView_SetItemState(list, 1, LVIS_FOCUSED | LVIS_SELECTED,
                                  LVIS_FOCUSED | LVIS_SELECTED);
            PressKey(VK_SPACE);
            EXPECT_TRUE(WaitUntil([&] { return IsChecked(review, 1); }, 5000));
            EXPECT_FALSE(IsChecked(review, 0));
            PressKey(VK_SPACE);
            EXPECT_TRUE(WaitUntil([&] { return !IsChecked(review, 1); }, 5000));
            ::PostMessageW(::GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
        });
}

namespace {

// What a page shows when it has taken one message per cookie: a row per domain of its state,
// in name order, with the domain's type and count, and their total on the label.
void ExpectEveryCookieShown(HWND page, const CDomainList& domains, bool authorized) {
    std::vector<std::vector<std::wstring>> expected;
    std::size_t total = 0;
    for (const CRefPtr<CCookieDomain>& domain : domains) {
        if (domain->IsAuthorized() == authorized) {
            expected.push_back({domain->GetName(), domain->GetTypeText(),
                                std::to_wstring(domain->GetCookieCount())});
            total += domain->GetCookieCount();
        }
    }
    std::sort(expected.begin(), expected.end());
    std::vector<std::vector<std::wstring>> shown;
    for (const auto& row : ReadRows(page)) {
        shown.push_back({row[0], row[3], row[4]});
    }
    EXPECT_EQ(expected, shown);
    EXPECT_EQ(0u, CountLabelText(page).find(std::to_wstring(total) + L" ")) << CountLabelText(page);
}

} // namespace

TEST_F(Dialogs, CollectedChangesShowEveryCookieWithFarFewerMessages) {
    const LONG before = CRefCount::LiveObjects();
    {
        const CRegistrySandbox registry;
        WriteAuthorized(L"d3.com");
        constexpr int Domains = 30;
        constexpr int PerDomain = 30;
        auto source = CFakeCookieSource::Create(CookieKind::IE);
        // Every domain gains cookies through the whole load, some of them Flash, so that
        // changes keep arriving over several ticks.
        source->enumerate = [](CCookieSink& sink) {
            for (int i = 0; i < Domains * PerDomain; ++i) {
                const std::wstring host = L"www.d" + std::to_wstring(i % Domains) + L".com";
                if (i % 7 == 0) {
                    sink.AddCookie(CFlashCookie::Create(L"C:\\f" + std::to_wstring(i) + L".sol",
                                                        host, FILETIME{}, FILETIME{}));
                } else {
                    sink.AddCookie(CIECookie::Create(L"C:\\c.txt", host, FILETIME{}, FILETIME{},
                                                     L"Cookie:u@" + host + L"/"));
                }
                if (i % 5 == 0) {
                    ::Sleep(3);
                }
            }
        };
        std::atomic<int> posted{0};
        CookieManager manager({source}, ProgramReport(),
                              [&posted](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                                  if (message == WM_DOMAIN_ADDED || message == WM_DOMAIN_CHANGED) {
                                      ++posted;
                                  }
                                  return ::PostMessageW(window, message, wParam, lParam);
                              });
        CMainDlg window(manager, m_icons, m_closer);
        WhileShown(
            L"Tollgate",
            [&] {
                manager.StartLoading();
                window.DoModal(nullptr);
            },
            [&](HWND sheet) {
                manager.WaitForLoading();
                HWND status = ::GetDlgItem(sheet, IDC_STATUS_LINE);
                const std::wstring settled = StatusText(manager.GetLoadProgress());
                wchar_t text[256] = {};
                for (int tries = 0; tries < 500 && settled != text; ++tries) {
                    ::Sleep(10);
                    ::GetWindowTextW(status, text, 256);
                }
                CDomainList domains;
                manager.GetDomains(domains);
                EXPECT_EQ(static_cast<std::size_t>(Domains), domains.size());
                ExpectEveryCookieShown(ToReviewPage(sheet), domains, false);
                ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
                ExpectEveryCookieShown(AllowedPage(sheet), domains, true);
                ::PostMessageW(::GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
            });
        manager.WaitForLoading();
        // A domain is announced once, not once per cookie or per tick: the window keeps it
        // and reads it at every tick until the load ends.
        EXPECT_LE(posted.load(), Domains);
    }
    EXPECT_EQ(before, CRefCount::LiveObjects());
}

namespace {

FILETIME Hour(DWORD hours) {
    return ToFileTime(0x01DA000000000000ULL + hours * 36000000000ULL);
}

// The user's own short date and time of day of a UTC time, as the system formats them.
std::wstring UserDateAndTime(FILETIME time) {
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    ::FileTimeToSystemTime(&time, &utc);
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    wchar_t date[100] = {};
    wchar_t clock[100] = {};
    ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 100,
                      nullptr);
    ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, clock, 100);
    return std::wstring(date) + L" " + clock;
}

CCookieDescriptions SampleCookies() {
    return {
        {CookieKind::IE,
         L"SID",
         L"www.shop.com",
         L"/",
         Hour(30),
         Hour(3),
         Hour(1),
         L"C:\\cache\\a.txt",
         {}},
        {CookieKind::Flash,
         L"save.sol",
         L"games.shop.com",
         L"",
         {},
         Hour(2),
         Hour(2),
         L"C:\\flash\\save.sol",
         {}},
        // A site may put a tab or a line break into a name or path.
        {CookieKind::IE,
         L"a\tb",
         L".shop.com",
         L"/e\r\nn/",
         {},
         Hour(1),
         Hour(5),
         L"C:\\cache\\b.txt",
         {}},
    };
}

std::vector<std::wstring> DetailsColumn(HWND dialog, int column) {
    HWND list = ::GetDlgItem(dialog, IDC_DETAILS_LIST);
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        wchar_t text[512] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 512;
        ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

RECT ChildFrame(HWND dialog, int id) {
    RECT frame{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &frame);
    return frame;
}

// Every column is at least as wide as each of its cells and its header with the header's
// insets on both sides (three edges each).
void ExpectColumnsFitTheirTexts(HWND dialog) {
    HWND list = ::GetDlgItem(dialog, IDC_DETAILS_LIST);
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    for (int column = 0; column < 8; ++column) {
        wchar_t title[100] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = title;
        item.cchTextMax = 100;
        ::SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        const int width = ListView_GetColumnWidth(list, column);
        EXPECT_LE(ListView_GetStringWidth(list, title) + 6 * ::GetSystemMetrics(SM_CXEDGE), width)
            << title;
        for (const std::wstring& text : DetailsColumn(dialog, column)) {
            EXPECT_LT(ListView_GetStringWidth(list, text.c_str()), width) << text;
        }
    }
}

void ClickDetailsColumn(HWND dialog, int column) {
    ClickHeader(::GetDlgItem(dialog, IDC_DETAILS_LIST), column);
}

std::wstring ClipboardText() {
    std::wstring text;
    if (::OpenClipboard(nullptr)) {
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(::GlobalLock(data));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
    }
    return text;
}

// Ctrl+C on the list as the keyboard gives it: the key state is shared with the dialog's
// thread for the press.
void PressCtrlC(HWND dialog) {
    HWND list = ::GetDlgItem(dialog, IDC_DETAILS_LIST);
    const DWORD dialogThread = ::GetWindowThreadProcessId(dialog, nullptr);
    ::AttachThreadInput(::GetCurrentThreadId(), dialogThread, TRUE);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::SendMessageW(list, WM_KEYDOWN, 'C', 0);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    ::AttachThreadInput(::GetCurrentThreadId(), dialogThread, FALSE);
}

void SelectRows(HWND dialog, std::initializer_list<int> rows) {
    HWND list = ::GetDlgItem(dialog, IDC_DETAILS_LIST);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (int row : rows) {
        ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    }
}

} // namespace

TEST_F(Dialogs, DetailsListEveryCookieSortByAHeaderClickAndCopyTheSelectedRows) {
    WhileShown(
        L"Cookies of shop.com", [] { CDetailsDlg(L"shop.com", SampleCookies()).DoModal(nullptr); },
        [](HWND dialog) {
            HWND list = ::GetDlgItem(dialog, IDC_DETAILS_LIST);
            HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
            EXPECT_EQ(8, ::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
            // First by host.
            EXPECT_EQ((std::vector<std::wstring>{L".shop.com", L"games.shop.com", L"www.shop.com"}),
                      DetailsColumn(dialog, 2));
            EXPECT_EQ((std::vector<std::wstring>{L"IE", L"Flash", L"IE"}),
                      DetailsColumn(dialog, 0));
            ClickDetailsColumn(dialog, 1);
            EXPECT_EQ((std::vector<std::wstring>{L"a\tb", L"save.sol", L"SID"}),
                      DetailsColumn(dialog, 1));
            ClickDetailsColumn(dialog, 1);
            EXPECT_EQ((std::vector<std::wstring>{L"SID", L"save.sol", L"a\tb"}),
                      DetailsColumn(dialog, 1));
            // Times sort by their value, an unknown one and a session's first; they read in the
            // user's zone and format.
            ClickDetailsColumn(dialog, 4);
            EXPECT_EQ(
                (std::vector<std::wstring>{L"", L"At end of session", UserDateAndTime(Hour(30))}),
                DetailsColumn(dialog, 4));
            ExpectColumnsFitTheirTexts(dialog);
            ClickDetailsColumn(dialog, 6);
            EXPECT_EQ((std::vector<std::wstring>{L"SID", L"save.sol", L"a\tb"}),
                      DetailsColumn(dialog, 1));

            SelectRows(dialog, {0, 2});
            PressCtrlC(dialog);
            EXPECT_EQ(L"IE\tSID\twww.shop.com\t/\t" + LocalTimeText(Hour(30)) + L"\t" +
                          LocalTimeText(Hour(3)) + L"\t" + LocalTimeText(Hour(1)) +
                          L"\tC:\\cache\\a.txt\r\n"
                          L"IE\ta b\t.shop.com\t/e  n/\tAt end of session\t" +
                          LocalTimeText(Hour(1)) + L"\t" + LocalTimeText(Hour(5)) +
                          L"\tC:\\cache\\b.txt\r\n",
                      ClipboardText());

            // The list takes the room the dialog is given, the Close button keeps its corner,
            // and the template's size is the smallest.
            RECT opened{};
            ::GetWindowRect(dialog, &opened);
            const RECT before = ChildFrame(dialog, IDC_DETAILS_LIST);
            const RECT close = ChildFrame(dialog, IDCANCEL);
            ::SetWindowPos(dialog, nullptr, 0, 0, opened.right - opened.left + 300,
                           opened.bottom - opened.top + 200, SWP_NOMOVE | SWP_NOZORDER);
            const RECT after = ChildFrame(dialog, IDC_DETAILS_LIST);
            EXPECT_EQ(before.right - before.left + 300, after.right - after.left);
            EXPECT_EQ(before.bottom - before.top + 200, after.bottom - after.top);
            EXPECT_EQ(close.right + 300, ChildFrame(dialog, IDCANCEL).right);
            EXPECT_EQ(close.bottom + 200, ChildFrame(dialog, IDCANCEL).bottom);
            ::SetWindowPos(dialog, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
            RECT smallest{};
            ::GetWindowRect(dialog, &smallest);
            EXPECT_EQ(opened.right - opened.left, smallest.right - smallest.left);
            EXPECT_EQ(opened.bottom - opened.top, smallest.bottom - smallest.top);
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
}

TEST_F(Dialogs, EnterOrADoubleClickOnARowShowsTheDetailsOfItsDomain) {
    CFakeDomainService service;
    service.domains = {MakeDomain(L"alpha.com", 2, 10, 20), MakeDomain(L"beta.org", 1, 5, 6)};
    RunMainWindow(service, [&](HWND sheet) {
        HWND page = ToReviewPage(sheet);
        HWND list = ListOf(page);
        const std::vector<std::wstring> names = ReadColumn(page, 0);
        ASSERT_EQ(2u, names.size());
        std::vector<std::wstring> shown;
        const auto closeDetails = [&shown](const std::wstring& site) {
            return std::thread([&shown, site] {
                HWND details = WaitForOwnDialog((L"Cookies of " + site).c_str());
                if (details != nullptr) {
                    shown.push_back(site + L":" +
                                    std::to_wstring(DetailsColumn(details, 0).size()));
                    ::PostMessageW(details, WM_COMMAND, IDCANCEL, 0);
                }
            });
        };

        RECT row{LVIR_BOUNDS, 0, 0, 0};
        ::SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
        std::thread second = closeDetails(names[1]);
        ::SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON,
                       MAKELPARAM(row.left + 40, (row.top + row.bottom) / 2));
        second.join();
        Pump();

        // Enter reaches the list through the sheet's dialog manager, as it does from the keyboard:
        // only while the list has the focus.
        ::SetFocus(list);
        ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
        std::thread first = closeDetails(names[0]);
        MSG enter{list, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        ::IsDialogMessageW(sheet, &enter);
        first.join();
        Pump();

        EXPECT_EQ((std::vector<std::wstring>{names[1], names[0]}), service.described);
        const auto count = [](const std::wstring& name) { return name == L"alpha.com" ? 2 : 1; };
        EXPECT_EQ((std::vector<std::wstring>{names[1] + L":" + std::to_wstring(count(names[1])),
                                             names[0] + L":" + std::to_wstring(count(names[0]))}),
                  shown);
        EXPECT_TRUE(::IsWindowVisible(sheet)) << "Enter did not press the sheet's OK";
    });
}

namespace {

// In microseconds: 2023-11-14 22:13:20 UTC since 1601 (Chromium) and since 1970 (Firefox).
constexpr std::int64_t ChromiumBase = 13344473600000000;
constexpr std::int64_t FirefoxBase = 1700000000000000;
constexpr std::int64_t HourMicroseconds = 3600LL * 1000 * 1000;
constexpr std::uint64_t UnixEpochTicks = 116444736000000000;

FILETIME FromChromium(std::int64_t microseconds) {
    return ToFileTime(static_cast<std::uint64_t>(microseconds) * 10);
}

FILETIME FromFirefox(std::int64_t microseconds) {
    return ToFileTime(UnixEpochTicks + static_cast<std::uint64_t>(microseconds) * 10);
}

// The program's own manager, loaded from the prefix's stores, and what it says of `site`.
CCookieDescriptions DescribeLoadedSite(const std::wstring& site) {
    CookieManager manager;
    manager.PrepareSources();
    EXPECT_TRUE(manager.LoadHere(false));
    CDomainList domains;
    manager.GetDomains(domains);
    CCookieDescriptions described;
    for (const auto& domain : domains) {
        if (domain->GetName() == site) {
            manager.DescribeDomain(domain, described);
        }
    }
    return described;
}

std::wstring DetailsNote(HWND dialog) {
    HWND note = ::GetDlgItem(dialog, IDC_DETAILS_NOTE);
    return ::IsWindowVisible(note) ? GetWindowString(note) : std::wstring();
}

} // namespace

TEST_F(Dialogs, DetailsOfASiteShowItsCookiesOfEveryRealStoreSortedAndCopiedWhole) {
    const CEmptyStores stores;
    const FILETIME cacheTime = FromChromium(ChromiumBase - 5 * HourMicroseconds);
    const FILETIME sidExpires = FromChromium(ChromiumBase + 900 * HourMicroseconds);
    const FILETIME sidCreated = FromChromium(ChromiumBase - 9 * HourMicroseconds);
    const FILETIME langCreated = FromChromium(ChromiumBase - 8 * HourMicroseconds);
    const std::wstring cacheFile = CookieStore::AddBrowserCookie(
        {CookieStore::BrowserCookieUrl(L"www.shop.com"), true, cacheTime, {}},
        CookieStore::CookieFileRecord("SID", "secret", "www.shop.com/", sidExpires, sidCreated) +
            CookieStore::CookieFileRecord("lang", "en", "shop.com/en/", {}, langCreated));
    // A file that is no whole record still lists its entry.
    const FILETIME brokenTime = FromChromium(ChromiumBase - 7 * HourMicroseconds);
    const std::wstring brokenFile = CookieStore::AddBrowserCookie(
        {CookieStore::BrowserCookieUrl(L"shop.com", L"/cart/"), true, brokenTime, {}},
        "SID\nsecret\nshop.com/\n1536\n");
    const FILETIME flashTime = FromChromium(ChromiumBase - 6 * HourMicroseconds);
    const std::wstring flashFile =
        CookieStore::AddFlashFile(L"ABC\\shop.com\\game\\save.sol", flashTime);
    BrowserStores::CRow chrome{L".shop.com", L"pref", L"/", ChromiumBase,
                               ChromiumBase + HourMicroseconds};
    chrome.expires = ChromiumBase + 2000 * HourMicroseconds;
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Google\\Chrome\\User Data", L"Default"),
        BrowserStores::Layout::Current, {chrome});
    BrowserStores::CRow firefox{L"shop.com", L"ff", L"/", FirefoxBase,
                                FirefoxBase + 2 * HourMicroseconds};
    firefox.expires = 1800000000000;
    BrowserStores::AddFirefoxProfile(L"default-release", L"ab.default-release",
                                     BrowserStores::Layout::Current, {firefox});

    const CCookieDescriptions described = DescribeLoadedSite(L"shop.com");
    WhileShown(
        L"Cookies of shop.com",
        [&described] { CDetailsDlg(L"shop.com", described).DoModal(nullptr); },
        [&](HWND dialog) {
            EXPECT_EQ(L"", DetailsNote(dialog)) << "every row is its store's own";
            ClickDetailsColumn(dialog, 1);
            EXPECT_EQ((std::vector<std::wstring>{L"", L"ff", L"game\\save.sol", L"lang", L"pref",
                                                 L"SID"}),
                      DetailsColumn(dialog, 1));
            ClickDetailsColumn(dialog, 0);
            EXPECT_EQ(
                (std::vector<std::wstring>{L"Chrome", L"Firefox", L"Flash", L"IE", L"IE", L"IE"}),
                DetailsColumn(dialog, 0));
            ClickDetailsColumn(dialog, 1);
            SelectRows(dialog, {0, 1, 2, 3, 4, 5});
            PressCtrlC(dialog);
            const auto iso = [](FILETIME time) { return LocalTimeText(time); };
            EXPECT_EQ(L"IE\t\tshop.com\t/cart/\t\t" + iso(brokenTime) + L"\t" + iso(brokenTime) +
                          L"\t" + brokenFile + L"\r\n" + L"Firefox\tff\tshop.com\t/\t" +
                          iso(FromFirefox(1800000000000LL * 1000)) + L"\t" +
                          iso(FromFirefox(FirefoxBase + 2 * HourMicroseconds)) + L"\t" +
                          iso(FromFirefox(FirefoxBase)) +
                          L"\tMozilla Firefox (default-release)\r\n" +
                          L"Flash\tgame\\save.sol\tshop.com\t\t\t" + iso(flashTime) + L"\t" +
                          iso(flashTime) + L"\t" + flashFile + L"\r\n" +
                          L"IE\tlang\tshop.com\t/en/\tAt end of session\t" + iso(cacheTime) +
                          L"\t" + iso(langCreated) + L"\t" + cacheFile + L"\r\n" +
                          L"Chrome\tpref\t.shop.com\t/\t" +
                          iso(FromChromium(ChromiumBase + 2000 * HourMicroseconds)) + L"\t" +
                          iso(FromChromium(ChromiumBase + HourMicroseconds)) + L"\t" +
                          iso(FromChromium(ChromiumBase)) + L"\tGoogle Chrome (Default)\r\n" +
                          L"IE\tSID\twww.shop.com\t/\t" + iso(sidExpires) + L"\t" + iso(cacheTime) +
                          L"\t" + iso(sidCreated) + L"\t" + cacheFile + L"\r\n",
                      ClipboardText());
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
}

TEST_F(Dialogs, DetailsSayWhyAStoreCouldNotBeReadAgainAndStillListItsCookiesAsLoaded) {
    const CEmptyStores stores;
    const std::wstring chrome = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Google\\Chrome\\User Data", L"Default"),
        BrowserStores::Layout::Current,
        {{L"shop.com", L"pref", L"/", ChromiumBase, ChromiumBase + HourMicroseconds}});
    const std::wstring firefox = BrowserStores::AddFirefoxProfile(
        L"default-release", L"ab.default-release", BrowserStores::Layout::Current,
        {{L"shop.com", L"ff", L"/", FirefoxBase, FirefoxBase}});

    CookieManager manager;
    manager.PrepareSources();
    ASSERT_TRUE(manager.LoadHere(false));
    CDomainList domains;
    manager.GetDomains(domains);
    ASSERT_EQ(1u, domains.size());
    // The browser was started since the load, and Firefox dropped its cookie.
    CBrowserStandIn browser(chrome);
    {
        CSqliteDatabase db(firefox, CSqliteDatabase::Mode::ReadWrite);
        db.Execute("DELETE FROM moz_cookies");
    }
    CCookieDescriptions described;
    manager.DescribeDomain(domains[0], described);

    WhileShown(
        L"Cookies of shop.com",
        [&described] { CDetailsDlg(L"shop.com", described).DoModal(nullptr); },
        [](HWND dialog) {
            // One host: the sources' order.
            EXPECT_EQ((std::vector<std::wstring>{L"pref", L"ff"}), DetailsColumn(dialog, 1));
            EXPECT_EQ((std::vector<std::wstring>{L"Google Chrome (Default)",
                                                 L"Mozilla Firefox (default-release)"}),
                      DetailsColumn(dialog, 7));
            EXPECT_EQ((std::vector<std::wstring>{L"", L""}), DetailsColumn(dialog, 4))
                << "no expiry but what the store says";
            EXPECT_EQ(FormatString(LoadExpandedString(IDS_DETAILS_BROWSER_OPEN).c_str(),
                                   L"Google Chrome", L"Default") +
                          L"\r\n" +
                          FormatString(LoadExpandedString(IDS_DETAILS_GONE).c_str(), L"ff",
                                       L"shop.com", L"Mozilla Firefox", L"default-release"),
                      DetailsNote(dialog));
            // The note keeps its place below the list as the dialog grows.
            HWND list = ::GetDlgItem(dialog, IDC_DETAILS_LIST);
            HWND note = ::GetDlgItem(dialog, IDC_DETAILS_NOTE);
            ::SetWindowPos(dialog, nullptr, 0, 0, 1000, 600, SWP_NOMOVE | SWP_NOZORDER);
            RECT listFrame{};
            RECT noteFrame{};
            ::GetWindowRect(list, &listFrame);
            ::GetWindowRect(note, &noteFrame);
            EXPECT_LT(listFrame.bottom, noteFrame.top);
            EXPECT_EQ(listFrame.right - listFrame.left, noteFrame.right - noteFrame.left);
            // At twice the DPI every part is twice its size, and the list takes what is left.
            const RECT close = ChildFrame(dialog, IDCANCEL);
            RECT opened{};
            ::SetWindowPos(dialog, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
            ::GetWindowRect(dialog, &opened);
            const RECT home = ChildFrame(dialog, IDC_DETAILS_LIST);
            RECT doubled{opened.left, opened.top, opened.left + 2 * (opened.right - opened.left),
                         opened.top + 2 * (opened.bottom - opened.top)};
            ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(192, 192),
                           reinterpret_cast<LPARAM>(&doubled));
            const RECT scaled = ChildFrame(dialog, IDCANCEL);
            const RECT grown = ChildFrame(dialog, IDC_DETAILS_LIST);
            EXPECT_EQ(2 * (close.bottom - close.top), scaled.bottom - scaled.top);
            EXPECT_LE(2 * (home.right - home.left), grown.right - grown.left);
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
}

// Chrome and Edge hold their stores: the notice row's button asks first, closes Chrome through
// Restart Manager (which names nothing for Edge), offers to reopen it, and what is still closed
// when the window goes is reopened.
TEST_F(Dialogs, TheNoticeButtonClosesTheHeldBrowsersAfterAskingAndReopensThem) {
    CFakeDomainService service;
    CStoreNotice held;
    held.problem = CStoreProblem::BrowserOpen;
    held.kind = CookieKind::Chrome;
    held.database = L"Cookies";
    held.skipped = true;
    CStoreNotice edge = held;
    edge.kind = CookieKind::Edge;
    edge.database = L"Edge Cookies";
    const CStoreNotices notices{held, edge};
    service.progress.notices = notices;
    CFakeRestartManager restart;
    restart.AddProgram(1, L"Google Chrome", {L"Cookies"});
    TakeRecordedMessages();
    RunMainWindow(
        service,
        [&](HWND sheet) {
            HWND button = ::GetDlgItem(sheet, IDC_NOTICE_BUTTON);
            HWND line = ::GetDlgItem(sheet, IDC_NOTICE_LINE);
            const auto says = [line](const wchar_t* text) {
                return WindowText(line).find(text) != std::wstring::npos;
            };
            EXPECT_TRUE(::IsWindowVisible(button));
            EXPECT_EQ(L"Close Chrome and Edge\x2026", WindowText(button));
            SetRecordedAnswer(IDNO);
            ::SendMessageW(button, BM_CLICK, 0, 0);
            EXPECT_TRUE(restart.calls.empty());
            const std::vector<CRecordedMessage> asked = TakeRecordedMessages();
            ASSERT_EQ(1u, asked.size());
            EXPECT_EQ(L"Chrome and Edge will close now, as they do for a Windows update, and open "
                      L"again when you close Tollgate or press Reopen.",
                      asked[0].text);

            SetRecordedAnswer(IDYES);
            ::SendMessageW(button, BM_CLICK, 0, 0);
            EXPECT_EQ(1u, TakeRecordedMessages().size());
            EXPECT_EQ(L"Reopen Google Chrome", WindowText(button));
            EXPECT_TRUE(says(L"Closed Google Chrome."));
            EXPECT_TRUE(says(L"found no program to close for Edge"));
            // The stores are read: what was said of Edge goes.
            service.progress.notices.clear();
            ::SendMessageW(sheet, WM_LOADING_DONE, 0, 0);
            EXPECT_TRUE(says(L"Closed Google Chrome."));
            EXPECT_FALSE(says(L"Edge"));

            ::SendMessageW(button, BM_CLICK, 0, 0);
            EXPECT_EQ(L"restart", restart.calls.at(restart.calls.size() - 2));
            EXPECT_TRUE(says(L"Reopened Google Chrome."));
            EXPECT_FALSE(::IsWindowVisible(button));
            service.progress.notices = notices;
            ::SendMessageW(sheet, WM_LOADING_DONE, 0, 0);
            ::SendMessageW(button, BM_CLICK, 0, 0);
            restart.calls.clear();
        },
        restart);
    SetRecordedAnswer(IDOK);
    EXPECT_EQ((std::vector<std::wstring>{L"restart", L"end"}), restart.calls);
}
