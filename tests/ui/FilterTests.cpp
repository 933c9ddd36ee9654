#include "PageHarness.h"

#include "cookies/DomainMessages.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

using CNames = std::vector<std::wstring>;

// Positions in the filter's list.
constexpr int all = 0;
constexpr int oneHour = 2;
constexpr int oneDay = 5;
constexpr int oneYear = 9;

constexpr std::int64_t hour = 60;
constexpr std::int64_t day = 24 * hour;

class Filter : public CPageTest {
protected:
    void SetUp() override {
        CPageTest::SetUp();
        service.domains = {
            MakeDomain(L"minutes.com", 1, 5, 5), MakeDomain(L"hours.com", 2, 2 * hour, 2 * hour),
            MakeDomain(L"days.com", 4, 2 * day, 2 * day), MakeTimelessDomain(L"timeless.com"),
            MakeDomain(L"future.com", 8, -day, -day)};
    }
};

std::vector<bool> Checks(HWND page, std::size_t rows) {
    std::vector<bool> checks;
    for (std::size_t row = 0; row < rows; ++row) {
        checks.push_back(IsChecked(page, static_cast<int>(row)));
    }
    return checks;
}

} // namespace

TEST_F(Filter, OffersTheSpansWithAllSelected) {
    CNames entries;
    LRESULT selected = -1;
    std::vector<LRESULT> minutes;
    RunMainWindow(service, [&](HWND window) {
        HWND combo = ::GetDlgItem(ToReviewPage(window), IDC_FILTER);
        selected = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
        const auto count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[64] = {};
            ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(text));
            entries.emplace_back(text);
            minutes.push_back(::SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        }
    });
    EXPECT_EQ(0, selected);
    EXPECT_EQ((CNames{L"(All)", L"15 minutes", L"1 hour", L"4 hours", L"8 hours", L"1 day",
                      L"3 days", L"1 week", L"1 month", L"1 year"}),
              entries);
    EXPECT_EQ((std::vector<LRESULT>{0, 15, 60, 240, 480, 1440, 4320, 10080, 43200, 525600}),
              minutes);
}

TEST_F(Filter, NarrowingKeepsChecksAndRebuildingClearsThem) {
    std::vector<CNames> names;
    std::vector<std::vector<bool>> checks;
    CNames labels;
    std::vector<int> copies;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        const auto pick = [&](int position) {
            PickFilter(page, position);
            names.push_back(ReadColumn(page, 0));
            checks.push_back(Checks(page, names.back().size()));
            labels.push_back(CountLabelText(page));
            copies.push_back(service.domainCopies);
        };
        ClickButton(page, IDC_CHECK_ALL);
        pick(oneDay);  // narrow
        pick(oneHour); // narrow
        pick(oneHour); // the same span: nothing
        pick(oneDay);  // wider: rebuild
        ToggleCheck(page, 0);
        pick(all); // rebuild
    });
    const CNames everything{L"days.com", L"future.com", L"hours.com", L"minutes.com",
                            L"timeless.com"};
    EXPECT_EQ((std::vector<CNames>{{L"hours.com", L"minutes.com"},
                                   {L"minutes.com"},
                                   {L"minutes.com"},
                                   {L"hours.com", L"minutes.com"},
                                   everything}),
              names);
    EXPECT_EQ(
        (std::vector<std::vector<bool>>{
            {true, true}, {true}, {true}, {false, false}, {false, false, false, false, false}}),
        checks);
    EXPECT_EQ((CNames{L"3 Unauthorized Cookies", L"1 Unauthorized Cookie", L"1 Unauthorized Cookie",
                      L"3 Unauthorized Cookies", L"16 Unauthorized Cookies"}),
              labels);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1, 2}), copies);
}

TEST_F(Filter, MissingAndFutureTimesShowOnlyUnderAll) {
    CNames underAYear;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        PickFilter(page, oneYear);
        underAYear = ReadColumn(page, 0);
    });
    EXPECT_EQ((CNames{L"days.com", L"hours.com", L"minutes.com"}), underAYear);
}

TEST_F(Filter, ASpanAppliesToNewAndChangedDomainsAndAChangeTestsAgain) {
    auto hidden = service.domains[2]; // days.com
    CNames names;
    CNames recent;
    std::wstring label;
    std::wstring hiddenCount;
    RunMainWindow(service, [&](HWND window) {
        HWND page = ToReviewPage(window);
        PickFilter(page, oneDay);
        auto old = MakeDomain(L"old.com", 5, 3 * day, 3 * day);
        service.domains.push_back(old);
        PostDomain(window, WM_DOMAIN_ADDED, old);
        AddCookie(hidden, 1, 3 * day);
        PostDomain(window, WM_DOMAIN_CHANGED, hidden);
        names = ReadColumn(page, 0);
        label = CountLabelText(page);
        // A later store finds the site in use: it now passes the span and gets its row.
        AddCookie(hidden, 1, 5);
        PostDomain(window, WM_DOMAIN_CHANGED, hidden);
        // The end of the load reads every change at once.
        ::SendMessageW(window, WM_LOADING_DONE, 0, 0);
        recent = ReadColumn(page, 0);
        PickFilter(page, all);
        for (const auto& row : ReadRows(page)) {
            if (row[0] == L"days.com") {
                hiddenCount = row[4];
            }
        }
    });
    EXPECT_EQ((CNames{L"hours.com", L"minutes.com"}), names);
    EXPECT_EQ(L"3 Unauthorized Cookies", label);
    EXPECT_EQ((CNames{L"days.com", L"hours.com", L"minutes.com"}), recent);
    EXPECT_EQ(L"6", hiddenCount);
}
