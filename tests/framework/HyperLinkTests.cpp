#include "FrameworkTestIds.h"

#include "framework/HyperLink.h"
#include "framework/SimpleDialog.h"
#include "support/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT WM_RUN_SCRIPT = WM_APP + 50;

struct CCommand {
    WPARAM wParam;
    LPARAM lParam;
};

// The About box's use of the link: command mode on a static of the dialog's template.
class CLinkHost : public CSimpleDialog<IDD_TEST_DIALOG, TRUE> {
public:
    CHyperLink link;
    std::vector<CCommand> commands;
    std::function<void(HWND dialog, HWND link)> script;

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_INITDIALOG) {
            link.SetHyperLinkExtendedStyle(HLINK_COMMANDBUTTON);
            link.SubclassWindow(::GetDlgItem(window, IDC_TEST_LINK));
            ::PostMessageW(window, WM_RUN_SCRIPT, 0, 0);
        } else if (message == WM_RUN_SCRIPT) {
            script(window, link.GetHwnd());
            ::EndDialog(window, IDOK);
            return true;
        } else if (message == WM_COMMAND && LOWORD(wParam) == IDC_TEST_LINK) {
            commands.push_back({wParam, lParam});
            return true;
        }
        return CSimpleDialogBase::ProcessWindowMessage(window, message, wParam, lParam, result);
    }
};

void Click(HWND window, POINT down, POINT up) {
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
}

void WriteSetting(const wchar_t* name, DWORD type, const std::wstring& text) {
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(HKEY_CURRENT_USER,
                                L"Software\\Microsoft\\Internet Explorer\\Settings", 0, nullptr, 0,
                                KEY_WRITE, nullptr, key.Receive(), nullptr));
    ::RegSetValueExW(key.Get(), name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

TEST(HyperLink, ParsesTheBrowsersColourTexts) {
    COLORREF colour = RGB(1, 2, 3);
    EXPECT_TRUE(ParseLinkColor(L"255,0,0", colour));
    EXPECT_EQ(RGB(255, 0, 0), colour);
    EXPECT_TRUE(ParseLinkColor(L"256,257,1000", colour));
    EXPECT_EQ(RGB(0, 1, 232), colour);
    EXPECT_TRUE(ParseLinkColor(L"10, 20, 30", colour));
    EXPECT_EQ(RGB(10, 20, 30), colour);
    for (const wchar_t* bad : {L"", L"1", L"1,2", L"1,2,"}) {
        colour = RGB(1, 2, 3);
        EXPECT_FALSE(ParseLinkColor(bad, colour)) << bad;
        EXPECT_EQ(RGB(1, 2, 3), colour);
    }
}

TEST(HyperLink, CommandModeReportsClicksInsideTheLabelOnly) {
    CLinkHost host;
    RECT linkRect{};
    RECT client{};
    LONG_PTR style = 0;
    bool underlined = false;
    HWND linkWindow = nullptr;
    host.script = [&](HWND, HWND link) {
        linkWindow = link;
        linkRect = host.link.GetLinkRect();
        ::GetClientRect(link, &client);
        style = ::GetWindowLongPtrW(link, GWL_STYLE);
        LOGFONTW font{};
        ::GetObjectW(host.link.GetLinkFont(), sizeof font, &font);
        underlined = font.lfUnderline != 0;

        const POINT inside{linkRect.left + 2, linkRect.top + 2};
        const POINT outside{linkRect.right + 5, linkRect.top + 2};
        Click(link, inside, inside);
        Click(link, inside, outside);
        Click(link, outside, outside);
        ::SendMessageW(link, WM_CHAR, VK_SPACE, 0);
        ::SendMessageW(link, WM_CHAR, VK_RETURN, 0);
        ::SendMessageW(link, WM_CHAR, L'a', 0);
    };
    host.DoModal(nullptr);
    EXPECT_NE(0, style & SS_NOTIFY);
    EXPECT_TRUE(underlined);
    EXPECT_GT(linkRect.right, linkRect.left);
    EXPECT_LT(linkRect.right, client.right); // the label is shorter than its static
    ASSERT_EQ(3u, host.commands.size());
    for (const CCommand& command : host.commands) {
        EXPECT_EQ(MAKEWPARAM(IDC_TEST_LINK, 0), command.wParam);
        EXPECT_EQ(reinterpret_cast<LPARAM>(linkWindow), command.lParam);
    }
    EXPECT_EQ(RGB(0, 0, 255), host.link.GetLinkColor());
    EXPECT_EQ(RGB(128, 0, 128), host.link.GetVisitedColor());
}

// Records the thread's last error as the link's handling of WM_NCDESTROY leaves it.
LRESULT CALLBACK RecordFinalError(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR id, DWORD_PTR error) {
    if (message != WM_NCDESTROY) {
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    ::RemoveWindowSubclass(window, RecordFinalError, id);
    ::SetLastError(ERROR_SUCCESS);
    const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    *reinterpret_cast<DWORD*>(error) = ::GetLastError();
    return result;
}

// The tooltip the link made: a top-level window of this thread that the dialog owns.
HWND TooltipOf(HWND dialog) {
    std::pair<HWND, HWND> search{dialog, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            auto& [owner, tooltip] = *reinterpret_cast<std::pair<HWND, HWND>*>(found);
            wchar_t name[64] = {};
            ::GetClassNameW(window, name, 64);
            if (::GetWindow(window, GW_OWNER) == owner && lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) {
                tooltip = window;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// The two colours a link takes up with these browser settings.
std::pair<COLORREF, COLORREF> ColoursWith(DWORD type, const std::wstring& link,
                                          const std::wstring& visited) {
    const CRegistrySandbox registry;
    WriteSetting(L"Anchor Color", type, link);
    WriteSetting(L"Anchor Color Visited", type, visited);
    CLinkHost host;
    host.script = [](HWND, HWND) {};
    host.DoModal(nullptr);
    return {host.link.GetLinkColor(), host.link.GetVisitedColor()};
}

} // namespace

// The dialog owns the tip and destroys it first; the link must not destroy it once more.
TEST(HyperLink, ItsTooltipGoesWithTheDialogAndOnlyOnce) {
    CLinkHost host;
    HWND tooltip = nullptr;
    DWORD finalError = ERROR_SUCCESS;
    host.script = [&](HWND dialog, HWND link) {
        tooltip = TooltipOf(dialog);
        ::SetWindowSubclass(link, RecordFinalError, 1, reinterpret_cast<DWORD_PTR>(&finalError));
    };
    host.DoModal(nullptr);
    ASSERT_NE(nullptr, tooltip);
    EXPECT_FALSE(::IsWindow(tooltip));
    // What destroying a window that is gone leaves as the last error.
    HWND gone = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
    ::DestroyWindow(gone);
    ::SetLastError(ERROR_SUCCESS);
    ::DestroyWindow(gone);
    EXPECT_NE(::GetLastError(), finalError) << "the link destroyed its gone tooltip again";
}

TEST(HyperLink, TakesTheBrowsersLinkColoursWhenWellFormed) {
    EXPECT_EQ(std::make_pair(RGB(255, 0, 0), RGB(0, 128, 0)),
              ColoursWith(REG_SZ, L"255,0,0", L"0,128,0"));
    EXPECT_EQ(std::make_pair(RGB(1, 2, 3), RGB(4, 5, 6)),
              ColoursWith(REG_EXPAND_SZ, L"1,2,3", L"4,5,6"));
}

TEST(HyperLink, KeepsItsDefaultsForLongOrMalformedColours) {
    EXPECT_EQ(std::make_pair(RGB(0, 0, 255), RGB(128, 0, 128)),
              ColoursWith(REG_SZ, L"100,100,100,1", L"0,128"));
    EXPECT_EQ(std::make_pair(RGB(0, 0, 255), RGB(128, 0, 128)),
              ColoursWith(REG_MULTI_SZ, L"1,2,3", L"4,5,6"));
}
