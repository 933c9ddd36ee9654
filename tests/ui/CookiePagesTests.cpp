#include "PageHarness.h"

#include "cookies/DomainMessages.h"
#include "res/resource.h"
#include "support/RecordedBrowser.h"
#include "support/RecordedMessages.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <utility>

namespace {

using CNames = std::vector<std::wstring>;
using CRows = std::vector<std::vector<std::wstring>>;

constexpr int sourceColumn = 0;
constexpr int countColumn = 4;

using CookiePages = CPageTest;

} // namespace

TEST_F(CookiePages, QueuedDomainsAppearSortedOnceWhenThePageIsFirstShown) {
    auto gamma = MakeDomain(L"gamma.com", 3, 10, 20);
    auto alpha = MakeDomain(L"alpha.com", 1, 10, 20);
    auto beta = MakeDomain(L"beta.com", 2, 10, 20);
    for (const auto& domain : {gamma, alpha, beta}) {
        domain->SetAuthorized();
        service.domains.push_back(domain);
    }
    CNames before;
    CNames after;
    std::wstring label;
    RunMainWindow(service, [&](HWND window) {
        // The registration copy queued them; the same domain offered again is ignored.
        PostDomain(window, WM_DOMAIN_ADDED, alpha);
        PostDomain(window, WM_DOMAIN_AUTHORIZED, beta);
        before = ReadColumn(ToReviewPage(window), sourceColumn);
        ::SendMessageW(window, PSM_SETCURSEL, 1, 0);
        PostDomain(window, WM_DOMAIN_AUTHORIZED, gamma);
        after = ReadColumn(AllowedPage(window), sourceColumn);
        label = CountLabelText(AllowedPage(window));
    });
    EXPECT_TRUE(before.empty());
    EXPECT_EQ((CNames{L"alpha.com", L"beta.com", L"gamma.com"}), after);
    EXPECT_EQ(L"6 Authorized Cookies", label);
}

TEST_F(CookiePages, RowsShowTheDomainsCells) {
    service.domains = {MakeDomain(L"example.com", 3, 2 * 60, 3 * 24 * 60, 3)};
    CRows rows;
    RunMainWindow(service, [&](HWND window) { rows = ReadRows(ToReviewPage(window)); });
    EXPECT_EQ((CRows{{L"example.com", L"2 hours ago", L"3 days ago", L"Flash, IE", L"3"}}), rows);
}

TEST_F(CookiePages, TheCountLabelIsSingularAtExactlyOne) {
    CNames labels;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        labels.push_back(CountLabelText(page));
        PostDomain(window, WM_DOMAIN_ADDED, MakeDomain(L"one.com", 1, 5, 5));
        labels.push_back(CountLabelText(page));
        PostDomain(window, WM_DOMAIN_ADDED, MakeDomain(L"two.com", 1, 5, 5));
        labels.push_back(CountLabelText(page));
        ::SendMessageW(window, PSM_SETCURSEL, 1, 0);
        labels.push_back(CountLabelText(AllowedPage(window)));
        auto authorized = MakeDomain(L"three.com", 1, 5, 5);
        authorized->SetAuthorized();
        PostDomain(window, WM_DOMAIN_ADDED, authorized);
        labels.push_back(CountLabelText(AllowedPage(window)));
    });
    EXPECT_EQ((CNames{L"0 Unauthorized Cookies", L"1 Unauthorized Cookie",
                      L"2 Unauthorized Cookies", L"0 Authorized Cookies", L"1 Authorized Cookie"}),
              labels);
}

TEST_F(CookiePages, TotalsAndCountsBeyondSixteenBitsStayWhole) {
    // 65,537 is 1 in sixteen bits: a wrapped total would read 3, and the site would sort first.
    service.domains = {MakeDomain(L"big.com", 65537, 5, 5), MakeDomain(L"small.com", 2, 5, 5)};
    std::wstring label;
    CNames byCount;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        label = CountLabelText(page);
        ClickColumn(page, countColumn);
        byCount = ReadColumn(page, sourceColumn);
    });
    EXPECT_EQ(L"65539 Unauthorized Cookies", label);
    EXPECT_EQ((CNames{L"small.com", L"big.com"}), byCount);
}

TEST_F(CookiePages, NamesSortOrdinallyAndAnEqualNameGoesAboveTheFirstEqualRow) {
    CRows rows;
    RunMainWindow(service, [&](HWND window) {
        for (const wchar_t* name : {L"b.com", L"same.com", L"a.com", L"Z.com", L"B.com"}) {
            PostDomain(window, WM_DOMAIN_ADDED, MakeDomain(name, 1, 5, 5));
        }
        PostDomain(window, WM_DOMAIN_ADDED, MakeDomain(L"same.com", 7, 5, 5));
        rows = ReadRows(ToReviewPage(window));
    });
    ASSERT_EQ(6u, rows.size());
    CNames names;
    for (const auto& row : rows) {
        names.push_back(row[0]);
    }
    EXPECT_EQ((CNames{L"B.com", L"Z.com", L"a.com", L"b.com", L"same.com", L"same.com"}), names);
    EXPECT_EQ(L"7", rows[4][countColumn]);
    EXPECT_EQ(L"1", rows[5][countColumn]);
}

TEST_F(CookiePages, ColumnClicksSortByEachKeyBothWays) {
    // Each domain differs in every key: name, last used, created, kinds and count.
    service.domains = {MakeDomain(L"c.com", 2, 30, 300, 1), MakeDomain(L"a.com", 5, 20, 100, 2),
                       MakeDomain(L"b.com", 3, 10, 200, 3)};
    std::vector<CNames> orders;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        const auto clickAndRead = [&](int column) {
            ClickColumn(page, column);
            orders.push_back(ReadColumn(page, sourceColumn));
        };
        orders.push_back(ReadColumn(page, sourceColumn));
        clickAndRead(4); // Count, smallest first
        clickAndRead(4); // and largest first
        clickAndRead(1); // Last Used, most recent first
        clickAndRead(1); // and oldest first
        clickAndRead(2); // Created, most recent first
        clickAndRead(3); // Type: IE (1), Flash (2), both (3)
        clickAndRead(3);
        clickAndRead(0); // Source, smallest first
        clickAndRead(0); // and largest first
    });
    const CNames abc{L"a.com", L"b.com", L"c.com"};
    const CNames cba{L"c.com", L"b.com", L"a.com"};
    const CNames cab{L"c.com", L"a.com", L"b.com"};
    const CNames bac{L"b.com", L"a.com", L"c.com"};
    EXPECT_EQ((std::vector<CNames>{abc, cba, abc, bac, cab, abc, cab, bac, abc, cba}), orders);
}

TEST_F(CookiePages, NewRowsGoToTheirSortedPlaceForTheCurrentKey) {
    service.domains = {MakeDomain(L"a.com", 1, 5, 5), MakeDomain(L"c.com", 9, 5, 5)};
    CNames byCount;
    CNames byNameDescending;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        ClickColumn(page, 4);
        PostDomain(window, WM_DOMAIN_ADDED, MakeDomain(L"b.com", 4, 5, 5));
        byCount = ReadColumn(page, sourceColumn);
        ClickColumn(page, 0);
        ClickColumn(page, 0);
        PostDomain(window, WM_DOMAIN_ADDED, MakeDomain(L"d.com", 1, 5, 5));
        PostDomain(window, WM_DOMAIN_ADDED, MakeDomain(L"bb.com", 1, 5, 5));
        byNameDescending = ReadColumn(page, sourceColumn);
    });
    EXPECT_EQ((CNames{L"a.com", L"b.com", L"c.com"}), byCount);
    EXPECT_EQ((CNames{L"d.com", L"c.com", L"bb.com", L"b.com", L"a.com"}), byNameDescending);
}

TEST_F(CookiePages, AChangedDomainShowsItsNewCountTypeAndTimes) {
    auto flash = MakeDomain(L"flash.com", 2, 3 * 60, 2 * 24 * 60, 2);
    auto timeless = MakeTimelessDomain(L"timeless.com");
    auto other = MakeDomain(L"other.com", 1, 5, 5);
    service.domains = {flash, timeless, other};
    CRows rows;
    std::wstring label;
    RunMainWindow(service, [&](HWND window) {
        // Used and made four minutes ago: Last Used moves, Created keeps the older time.
        AddCookie(flash, 1, 4);
        PostDomain(window, WM_DOMAIN_CHANGED, flash);
        // The first times known.
        AddCookie(timeless, 2, 7);
        PostDomain(window, WM_DOMAIN_CHANGED, timeless);
        // Unchanged: nothing to do.
        PostDomain(window, WM_DOMAIN_CHANGED, other);
        // The end of the load reads what the repaint pace has not read yet.
        ::PostMessageW(window, WM_LOADING_DONE, 0, 0);
        Pump();
        rows = ReadRows(ToReviewPage(window));
        label = CountLabelText(ToReviewPage(window));
    });
    EXPECT_EQ((CRows{{L"flash.com", L"4 minutes ago", L"2 days ago", L"Flash, IE", L"3"},
                     {L"other.com", L"5 minutes ago", L"5 minutes ago", L"IE", L"1"},
                     {L"timeless.com", L"7 minutes ago", L"7 minutes ago", L"Flash, IE", L"2"}}),
              rows);
    EXPECT_EQ(L"6 Unauthorized Cookies", label);
}

TEST_F(CookiePages, CheckAllAndCheckNoneSetEveryBox) {
    service.domains = {MakeDomain(L"a.com", 1, 5, 5), MakeDomain(L"b.com", 1, 5, 5),
                       MakeDomain(L"c.com", 1, 5, 5)};
    std::vector<std::vector<bool>> states;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        const auto read = [&] {
            states.push_back({IsChecked(page, 0), IsChecked(page, 1), IsChecked(page, 2)});
        };
        read();
        ToggleCheck(page, 1);
        read();
        ClickButton(page, IDC_CHECK_ALL);
        read();
        ClickButton(page, IDC_CHECK_NONE);
        read();
    });
    EXPECT_EQ((std::vector<std::vector<bool>>{{false, false, false},
                                              {false, true, false},
                                              {true, true, true},
                                              {false, false, false}}),
              states);
}

TEST_F(CookiePages, DeleteWorksUpFromTheLowestCheckedRowAndStopsAtAFailure) {
    service.domains = {MakeDomain(L"a.com", 1, 5, 5), MakeDomain(L"b.com", 2, 5, 5),
                       MakeDomain(L"c.com", 3, 5, 5), MakeDomain(L"d.com", 4, 5, 5),
                       MakeDomain(L"e.com", 5, 5, 5)};
    service.failOn = L"c.com";
    CNames names;
    std::vector<bool> checks;
    std::wstring label;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        for (int row : {0, 2, 4}) {
            ToggleCheck(page, row);
        }
        ClickButton(page, IDC_DELETE);
        names = ReadColumn(page, sourceColumn);
        for (int row = 0; row < 4; ++row) {
            checks.push_back(IsChecked(page, row));
        }
        label = CountLabelText(page);
    });
    EXPECT_EQ((CNames{L"e.com", L"c.com"}), service.deleted);
    EXPECT_TRUE(service.deletedAlone.empty()) << "the checked sites go in one batch";
    EXPECT_EQ(1, service.batchesBegun);
    EXPECT_EQ(1, service.batchesEnded) << "a failure ends the batch too";
    EXPECT_EQ((CNames{L"a.com", L"b.com", L"c.com", L"d.com"}), names);
    EXPECT_EQ((std::vector<bool>{true, false, true, false}), checks);
    EXPECT_EQ(L"10 Unauthorized Cookies", label);
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

TEST_F(CookiePages, RowsOfADeleteBatchThatDidNotLastStay) {
    service.domains = {MakeDomain(L"a.com", 1, 5, 5), MakeDomain(L"b.com", 2, 5, 5)};
    service.batchLasts = false;
    CNames names;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        ClickButton(page, IDC_CHECK_ALL);
        ClickButton(page, IDC_DELETE);
        names = ReadColumn(page, sourceColumn);
    });
    EXPECT_EQ((CNames{L"b.com", L"a.com"}), service.deleted);
    EXPECT_EQ(1, service.batchesEnded);
    EXPECT_EQ((CNames{L"a.com", L"b.com"}), names);
}

namespace {

// Refuses the list's next row delete, as a list view does for a row it does not have.
LRESULT CALLBACK RefuseOneDelete(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR) {
    if (message == LVM_DELETEITEM) {
        ::RemoveWindowSubclass(window, RefuseOneDelete, id);
        return FALSE;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

TEST_F(CookiePages, ARowTheListKeptStaysWithItsDomainAndCount) {
    service.domains = {MakeDomain(L"a.com", 1, 5, 5), MakeDomain(L"b.com", 2, 5, 5)};
    std::vector<CNames> names;
    CNames labels;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        ToggleCheck(page, 0);
        ::SetWindowSubclass(ListOf(page), RefuseOneDelete, 1, 0);
        ClickButton(page, IDC_DELETE);
        names.push_back(ReadColumn(page, sourceColumn));
        labels.push_back(CountLabelText(page));
        ClickButton(page, IDC_DELETE);
        names.push_back(ReadColumn(page, sourceColumn));
        labels.push_back(CountLabelText(page));
    });
    EXPECT_EQ((std::vector<CNames>{{L"a.com", L"b.com"}, {L"b.com"}}), names);
    EXPECT_EQ((CNames{L"3 Unauthorized Cookies", L"2 Unauthorized Cookies"}), labels);
    EXPECT_EQ((CNames{L"a.com", L"a.com"}), service.deleted) << "the kept row is still a.com's";
}

TEST_F(CookiePages, AuthorizeMovesTheCheckedDomainsAndStopsAtAFailure) {
    service.domains = {MakeDomain(L"a.com", 1, 5, 5), MakeDomain(L"b.com", 2, 5, 5),
                       MakeDomain(L"c.com", 3, 5, 5), MakeDomain(L"d.com", 4, 5, 5)};
    service.failOn = L"b.com";
    CNames left;
    CNames moved;
    std::vector<bool> checks;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        for (int row : {0, 1, 3}) {
            ToggleCheck(page, row);
        }
        ClickButton(page, IDC_AUTHORIZE);
        left = ReadColumn(page, sourceColumn);
        checks = {IsChecked(page, 0), IsChecked(page, 1), IsChecked(page, 2)};
        ::SendMessageW(window, PSM_SETCURSEL, 1, 0);
        moved = ReadColumn(AllowedPage(window), sourceColumn);
    });
    EXPECT_EQ((CNames{L"d.com", L"b.com"}), service.authorized);
    EXPECT_EQ((CNames{L"a.com", L"b.com", L"c.com"}), left);
    EXPECT_EQ((std::vector<bool>{true, true, false}), checks);
    EXPECT_EQ((CNames{L"d.com"}), moved);
    EXPECT_EQ(0, service.batchesBegun) << "only deleting keeps stores open";
}

TEST_F(CookiePages, NothingCheckedOnlyExplains) {
    service.domains = {MakeDomain(L"a.com", 1, 5, 5)};
    CNames names;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        ClickButton(page, IDC_DELETE);
        ClickButton(page, IDC_AUTHORIZE);
        names = ReadColumn(page, sourceColumn);
    });
    EXPECT_EQ(CNames{L"a.com"}, names);
    EXPECT_TRUE(service.deleted.empty());
    EXPECT_TRUE(service.authorized.empty());
    const auto messages = TakeRecordedMessages();
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ(L"Please check the boxes next to the cookies that you wish to delete before "
              L"clicking this button.",
              messages[0].text);
    EXPECT_EQ(L"Please check the boxes next to the cookies that you wish to authorize before "
              L"clicking this button.",
              messages[1].text);
    for (const auto& message : messages) {
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), message.type);
    }
}

TEST_F(CookiePages, ARemovedRowTakesBackWhatItAddedToTheTotal) {
    auto growing = MakeDomain(L"growing.com", 2, 5, 5);
    service.domains = {growing, MakeDomain(L"other.com", 1, 5, 5)};
    std::wstring label;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        // A cookie the loading thread has added, its WM_DOMAIN_CHANGED still on the way.
        AddCookie(growing, 1, 1);
        ToggleCheck(page, 0);
        ClickButton(page, IDC_DELETE);
        label = CountLabelText(page);
    });
    EXPECT_EQ(L"1 Unauthorized Cookie", label);
}

TEST_F(CookiePages, HelpOpensTheHelpPageFromF1AndTheSheetsButton) {
    RunMainWindow(service, [&](HWND window) {
        HELPINFO help{};
        help.cbSize = sizeof help;
        ::SendMessageW(ToReviewPage(window), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_HELP, 0);
        Pump();
    });
    EXPECT_EQ((CNames{L"https://www.tollgate-app.com/help.html",
                      L"https://www.tollgate-app.com/help.html"}),
              TakeBrowserRequests());
}

TEST_F(CookiePages, DrawingHeldWhileRowsChangeComesBackWhenTheyStop) {
    bool labelShownAfter = false;
    RunMainWindow(service, [&](HWND window) {
        PostDomain(window, WM_DOMAIN_ADDED, MakeDomain(L"a.com", 1, 5, 5));
        const ULONGLONG until = ::GetTickCount64() + 500;
        while (::GetTickCount64() < until) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            Pump();
        }
        // Holding drawing hides the label from painting (WM_SETREDRAW); it must come back.
        labelShownAfter =
            ::IsWindowVisible(::GetDlgItem(ToReviewPage(window), IDC_COUNT_LABEL)) != FALSE;
    });
    EXPECT_TRUE(labelShownAfter);
}

TEST_F(CookiePages, ABatchActsOnlyOnTheDomainsTickedWhenItStartedThoughRowsArriveMeanwhile) {
    for (const int command : {IDC_DELETE, IDC_AUTHORIZE}) {
        SCOPED_TRACE(command);
        service.domains = {MakeDomain(L"b.com", 1, 5, 5), MakeDomain(L"c.com", 1, 5, 5),
                           MakeDomain(L"d.com", 1, 5, 5)};
        service.deleted.clear();
        service.authorized.clear();
        const auto early = MakeDomain(L"a.com", 1, 5, 5);
        CNames shown;
        bool first = true;
        // The first call of the batch runs a message box, as the shell's prompts and the
        // failure boxes do; the loading thread posts a domain that sorts above the ticked
        // rows while it is up.
        service.beforeChange = [&](const CRefPtr<CCookieDomain>&) {
            if (!std::exchange(first, false)) {
                return;
            }
            service.domains.push_back(early);
            HWND sheet = service.window;
            std::thread loader([&] {
                HWND box = WaitForOwnDialog(L"Working");
                ASSERT_NE(nullptr, box);
                CRefPtr<CCookieDomain> posted = early;
                ::PostMessageW(sheet, WM_DOMAIN_ADDED, reinterpret_cast<WPARAM>(posted.Detach()),
                               0);
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            });
            ::MessageBoxW(sheet, L"Working", L"Working", MB_OK);
            loader.join();
        };
        RunMainWindow(service, [&](HWND window) {
            HWND page = ToReviewPage(window);
            ToggleCheck(page, 1);
            ToggleCheck(page, 2);
            ClickButton(page, command);
            shown = ReadColumn(page, sourceColumn);
        });
        const CNames ticked{L"d.com", L"c.com"};
        EXPECT_EQ(ticked, command == IDC_DELETE ? service.deleted : service.authorized);
        EXPECT_EQ((CNames{L"a.com", L"b.com"}), shown);
        if (command == IDC_DELETE) {
            CNames listed;
            for (const auto& domain : service.domains) {
                listed.push_back(domain->GetName());
            }
            std::sort(listed.begin(), listed.end());
            EXPECT_EQ(shown, listed);
        }
        service.beforeChange = nullptr;
    }
}
