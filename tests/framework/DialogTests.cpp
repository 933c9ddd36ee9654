#include "FrameworkTestIds.h"

#include "framework/AppModule.h"
#include "framework/CallbackBarrier.h"
#include "framework/SimpleDialog.h"
#include "framework/UniqueHandle.h"
#include "store/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT WM_RUN_SCRIPT = WM_APP + 50;
constexpr WORD throwingCommand = 50;

// Runs `script` from inside its own modal loop, once it is up.
class CScriptedDialog : public CSimpleDialog<IDD_TEST_DIALOG, TRUE> {
public:
    std::function<void(HWND)> script;

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_INITDIALOG) {
            ::PostMessageW(window, WM_RUN_SCRIPT, 0, 0);
        } else if (message == WM_RUN_SCRIPT) {
            script(window);
            return true;
        } else if (message == WM_COMMAND && LOWORD(wParam) == throwingCommand) {
            throw CException(L"boom", 0);
        }
        return CSimpleDialogBase::ProcessWindowMessage(window, message, wParam, lParam, result);
    }
};

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::vector<std::wstring>& Reports() {
    static std::vector<std::wstring> reports;
    return reports;
}

std::vector<std::wstring> TakeReports() {
    return std::exchange(Reports(), {});
}

void RecordReport() noexcept {
    try {
        throw;
    } catch (const CException& e) {
        Reports().push_back(e.GetText());
    } catch (...) {
        Reports().push_back(L"?");
    }
}

} // namespace

TEST(SimpleDialog, CentresOverAVisibleOwnerAndEndsWithTheCommandId) {
    CWindowHandle owner(::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100,
                                          600, 400, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(owner);
    CScriptedDialog dialog;
    RECT placed{};
    dialog.script = [&](HWND window) {
        ::GetWindowRect(window, &placed);
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal(owner.Get()));
    EXPECT_NEAR(400, Centre(placed).x, 1);
    EXPECT_NEAR(300, Centre(placed).y, 1);
    EXPECT_EQ(nullptr, dialog.GetHwnd());
}

TEST(SimpleDialog, CentresInTheWorkAreaWhenTheOwnerIsHidden) {
    CWindowHandle owner(::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 100, 100, nullptr,
                                          nullptr, nullptr, nullptr));
    CScriptedDialog dialog;
    RECT placed{};
    dialog.script = [&](HWND window) {
        ::GetWindowRect(window, &placed);
        ::EndDialog(window, IDOK);
    };
    dialog.DoModal(owner.Get());
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR(Centre(area).x, Centre(placed).x, 1);
    EXPECT_NEAR(Centre(area).y, Centre(placed).y, 1);
}

TEST(SimpleDialog, OnlyCommandsFromOkToNoEndIt) {
    for (WORD id = IDOK; id <= IDNO; ++id) {
        CScriptedDialog dialog;
        dialog.script = [id](HWND window) { ::SendMessageW(window, WM_COMMAND, id, 0); };
        EXPECT_EQ(id, dialog.DoModal(nullptr));
    }
    CScriptedDialog dialog;
    bool stillOpen = false;
    dialog.script = [&](HWND window) {
        ::SendMessageW(window, WM_COMMAND, IDNO + 1, 0);
        stillOpen = ::IsWindow(window) && dialog.GetHwnd() == window;
        ::SendMessageW(window, WM_COMMAND, IDNO, 0);
    };
    EXPECT_EQ(IDNO, dialog.DoModal(nullptr));
    EXPECT_TRUE(stillOpen);
}

TEST(SimpleDialog, AnExceptionInAHandlerGoesToTheInstalledReporterAndTheDialogCarriesOn) {
    for (const bool installed : {true, false}) {
        SetCallbackReporter(installed ? RecordReport : nullptr);
        TakeReports();
        CScriptedDialog dialog;
        bool stillOpen = false;
        dialog.script = [&](HWND window) {
            ::SendMessageW(window, WM_COMMAND, throwingCommand, 0);
            stillOpen = ::IsWindow(window) != FALSE;
            ::SendMessageW(window, WM_COMMAND, IDOK, 0);
        };
        EXPECT_EQ(IDOK, dialog.DoModal(nullptr));
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(installed ? std::vector<std::wstring>{L"boom"} : std::vector<std::wstring>{},
                  TakeReports());
    }
}

TEST(AppModule, KeepsTheInstanceFromInitToTerm) {
    CAppModule module;
    EXPECT_EQ(E_INVALIDARG, module.Init(nullptr));
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    EXPECT_EQ(S_OK, module.Init(instance));
    EXPECT_EQ(instance, module.GetModuleInstance());
    EXPECT_EQ(instance, module.GetResourceInstance());
    module.Term();
    EXPECT_EQ(nullptr, module.GetModuleInstance());
}
