#include "FrameworkTestIds.h"

#include "framework/PropertySheetImpl.h"
#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_RUN_SCRIPT = WM_APP + 50;
constexpr UINT WM_ASK_SHEET = WM_APP + 51;

using CLog = std::vector<std::string>;

class CLoggingPage : public CPropertyPageImpl {
public:
    CLoggingPage(UINT templateId, std::string name, CLog& log)
        : CPropertyPageImpl(templateId), m_name(std::move(name)), m_log(log) {}

    int helpShown = 0;

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_INITDIALOG) {
            m_log.push_back(m_name + " created");
            result = TRUE;
            return true;
        }
        return CPropertyPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
    }
    void ShowHelp() override { ++helpShown; }

private:
    std::string m_name;
    CLog& m_log;
};

class CScriptedSheet : public CPropertySheetImpl {
public:
    explicit CScriptedSheet(CLog& log) : m_log(log) {
        m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP | PSH_NOCONTEXTHELP;
        m_psh.pszCaption = L"Scripted sheet";
    }

    std::function<void(HWND)> script;

protected:
    void OnSheetInitialized() override {
        m_log.push_back("sheet initialized");
        ::PostMessageW(m_hWnd, WM_RUN_SCRIPT, 0, 0);
    }
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_RUN_SCRIPT) {
            script(window);
            return true;
        }
        if (message == WM_ASK_SHEET) {
            result = 42;
            return true;
        }
        return CPropertySheetImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
    }

private:
    CLog& m_log;
};

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace

TEST(PropertySheet, SubclassesTheSheetBeforeTheFirstPageAndMakesPagesWhenShown) {
    CLog log;
    CLoggingPage one(IDD_TEST_PAGE_ONE, "one", log);
    CLoggingPage two(IDD_TEST_PAGE_TWO, "two", log);
    CScriptedSheet sheet(log);
    ASSERT_TRUE(sheet.AddPage(one));
    ASSERT_TRUE(sheet.AddPage(two));
    LRESULT answer = 0;
    HWND secondPage = nullptr;
    sheet.script = [&](HWND window) {
        answer = ::SendMessageW(window, WM_ASK_SHEET, 0, 0);
        log.push_back("running");
        ::SendMessageW(window, PSM_SETCURSEL, 1, 0);
        secondPage = reinterpret_cast<HWND>(::SendMessageW(window, PSM_GETCURRENTPAGEHWND, 0, 0));
        ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    };
    sheet.DoModal(nullptr);
    EXPECT_EQ((CLog{"sheet initialized", "one created", "running", "two created"}), log);
    EXPECT_EQ(42, answer);
    EXPECT_NE(nullptr, secondPage);
    EXPECT_EQ(nullptr, sheet.GetHwnd());
    EXPECT_EQ(nullptr, one.GetHwnd());
    EXPECT_EQ(nullptr, two.GetHwnd());
}

TEST(PropertySheet, TheHelpButtonAsksTheCurrentPage) {
    CLog log;
    CLoggingPage one(IDD_TEST_PAGE_ONE, "one", log);
    CLoggingPage two(IDD_TEST_PAGE_TWO, "two", log);
    CScriptedSheet sheet(log);
    sheet.AddPage(one);
    sheet.AddPage(two);
    bool helpEnabled = false;
    sheet.script = [&](HWND window) {
        helpEnabled = ::IsWindowEnabled(::GetDlgItem(window, IDHELP)) != FALSE;
        ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_HELP, 0);
        Pump();
        ::SendMessageW(window, PSM_SETCURSEL, 1, 0);
        ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_HELP, 0);
        Pump();
        ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_HELP, 0);
        Pump();
        ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    };
    sheet.DoModal(nullptr);
    EXPECT_TRUE(helpEnabled);
    EXPECT_EQ(1, one.helpShown);
    EXPECT_EQ(2, two.helpShown);
}

TEST(PropertySheet, AnOwnerBecomesTheParentAndTheRunsResultIsReturned) {
    CLog log;
    CLoggingPage one(IDD_TEST_PAGE_ONE, "one", log);
    CScriptedSheet sheet(log);
    sheet.AddPage(one);
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                   nullptr, nullptr, nullptr, nullptr);
    HWND sheetOwner = nullptr;
    sheet.script = [&](HWND window) {
        sheetOwner = ::GetWindow(window, GW_OWNER);
        ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_OK, 0);
    };
    EXPECT_GE(sheet.DoModal(owner), 0);
    EXPECT_EQ(owner, sheetOwner);
    ::DestroyWindow(owner);
}

TEST(PropertySheet, ASheetThatCannotBeSubclassedClosesAtOnceWithoutInitializing) {
    CLog log;
    CLoggingPage one(IDD_TEST_PAGE_ONE, "one", log);
    CScriptedSheet sheet(log);
    sheet.AddPage(one);
    sheet.script = [](HWND window) { ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); };
    // The object is busy with another window, so it cannot take the sheet's.
    CWindowHandle other(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, nullptr, nullptr));
    ASSERT_TRUE(sheet.SubclassWindow(other.Get()));
    // Should the sheet stay open, this closes it rather than the test waiting for ever.
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
        ::PostMessageW(::FindWindowW(nullptr, L"Scripted sheet"), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    EXPECT_EQ(-1, sheet.DoModal(nullptr));
    ::KillTimer(nullptr, watchdog);
    EXPECT_EQ(log.end(), std::find(log.begin(), log.end(), "sheet initialized"));
    EXPECT_EQ(other.Get(), sheet.GetHwnd());
    sheet.UnsubclassWindow();
}
