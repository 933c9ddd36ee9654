#include "framework/ListView.h"
#include "framework/RedrawThrottle.h"
#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A real list view with check boxes in a window of its own.
class ListView : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        m_parent.Reset(::CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                         300, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(m_parent);
        m_list.Attach(::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0,
                                        0, 400, 300, m_parent.Get(), nullptr, nullptr, nullptr));
        ASSERT_NE(nullptr, m_list.GetHwnd());
        m_list.AddExtendedStyles(LVS_EX_CHECKBOXES);
        m_list.InsertColumn(0, L"Name", LVCFMT_LEFT, 150);
        m_list.InsertColumn(1, L"Note", LVCFMT_LEFT, 150);
    }

    // Rows "r10", "r20", ... carrying 10, 20, ...
    void AddRows(int count) {
        for (int row = 0; row < count; ++row) {
            const int param = (row + 1) * 10;
            m_list.InsertItem(row, L"r" + std::to_wstring(param), param);
        }
    }

    std::vector<LPARAM> Params() const {
        std::vector<LPARAM> params;
        for (int row = 0; row < m_list.GetItemCount(); ++row) {
            params.push_back(m_list.GetItemParam(row));
        }
        return params;
    }

    CWindowHandle m_parent;
    CListView m_list;
};

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
}

} // namespace

TEST_F(ListView, FindsRowsByTheirDataAndByOrder) {
    AddRows(5);
    EXPECT_EQ(3, m_list.FindItem(40));
    EXPECT_EQ(-1, m_list.FindItem(45));
    const auto below = [](LPARAM limit) { return [limit](LPARAM row) { return row < limit; }; };
    EXPECT_EQ(0, m_list.FindPartitionPoint(below(5)));
    EXPECT_EQ(2, m_list.FindPartitionPoint(below(30)));
    EXPECT_EQ(3, m_list.FindPartitionPoint(below(31)));
    EXPECT_EQ(5, m_list.FindPartitionPoint(below(99)));
    m_list.DeleteItem(1);
    EXPECT_EQ(2, m_list.FindItem(40));
    EXPECT_EQ(0, m_list.GetItemParam(7));
}

TEST_F(ListView, CellTextsComeBackWholeHoweverLong) {
    AddRows(1);
    const std::wstring longText(1000, L'x');
    m_list.SetItemText(0, 1, longText);
    EXPECT_EQ(longText, m_list.GetItemText(0, 1));
    EXPECT_EQ(L"r10", m_list.GetItemText(0, 0));
    const std::wstring exact(255, L'y');
    m_list.SetItemText(0, 1, exact);
    EXPECT_EQ(exact, m_list.GetItemText(0, 1));
}

TEST_F(ListView, ChecksAreReadAndSetPerRow) {
    AddRows(4);
    EXPECT_TRUE(m_list.GetCheckedItems().empty());
    m_list.SetCheck(3, true);
    m_list.SetCheck(1, true);
    EXPECT_EQ((std::vector<int>{1, 3}), m_list.GetCheckedItems());
    m_list.SetCheck(3, false);
    EXPECT_FALSE(m_list.IsChecked(3));
    EXPECT_EQ(std::vector<int>{1}, m_list.GetCheckedItems());
}

TEST_F(ListView, SortsByTheRowsDataAndSurvivesAThrowingComparison) {
    AddRows(4);
    m_list.SortItems([](LPARAM first, LPARAM second) {
        return first == second ? 0 : (first > second ? -1 : 1);
    });
    EXPECT_EQ((std::vector<LPARAM>{40, 30, 20, 10}), Params());
    m_list.SortItems([](LPARAM, LPARAM) -> int { throw std::runtime_error("no order"); });
    EXPECT_EQ(4, m_list.GetItemCount());
}

TEST_F(ListView, DetachedItAnswersAsAnEmptyList) {
    AddRows(2);
    m_list.Detach();
    EXPECT_EQ(0, m_list.GetItemCount());
    EXPECT_EQ(-1, m_list.FindItem(10));
    EXPECT_EQ(0, m_list.GetItemParam(0));
}

TEST(RedrawThrottle, HoldsDrawingUntilTheIntervalIsOverThenResumesOnce) {
    CWindowHandle window(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                           nullptr, nullptr, nullptr, nullptr));
    CRedrawThrottle throttle(100);
    int resumed = 0;
    throttle.Attach({window.Get()}, [&] { ++resumed; });
    throttle.Hold();
    throttle.Hold();
    // WM_SETREDRAW FALSE clears WS_VISIBLE while drawing is held.
    EXPECT_FALSE(::IsWindowVisible(window.Get()));
    EXPECT_TRUE(throttle.IsHeld());
    const ULONGLONG until = ::GetTickCount64() + 1000;
    while (throttle.IsHeld() && ::GetTickCount64() < until) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    EXPECT_FALSE(throttle.IsHeld());
    EXPECT_TRUE(::IsWindowVisible(window.Get()));
    EXPECT_EQ(1, resumed);
    throttle.Hold();
    throttle.Detach();
    EXPECT_EQ(2, resumed);
    EXPECT_TRUE(::IsWindowVisible(window.Get()));
}
