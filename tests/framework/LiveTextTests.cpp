#include "framework/LiveText.h"
#include "framework/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

CWindowHandle MakeStatic() {
    return CWindowHandle(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 20, nullptr,
                                           nullptr, nullptr, nullptr));
}

// What the window itself holds, read without asking it.
std::wstring StoredText(HWND window) {
    wchar_t text[64] = {};
    ::InternalGetWindowText(window, text, 64);
    return text;
}

std::wstring AskedText(HWND window) {
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    return text;
}

} // namespace

TEST(LiveText, AskersSeeEveryChangeAtOnceAndTheWindowsCopyFollowsOnStore) {
    CWindowHandle window = MakeStatic();
    ASSERT_TRUE(window);
    CLiveText text;
    ASSERT_TRUE(text.SubclassWindow(window.Get()));
    text.SetText(L"1 cookie");
    text.Store();
    text.SetText(L"262 cookies");
    EXPECT_EQ(L"262 cookies", AskedText(window.Get()));
    EXPECT_EQ(11, ::GetWindowTextLengthW(window.Get()));
    EXPECT_EQ(L"1 cookie", StoredText(window.Get()));
    text.Store();
    EXPECT_EQ(L"262 cookies", StoredText(window.Get()));

    // A short buffer gets what fits, ended by a null, as from the system.
    wchar_t shortBuffer[5] = {L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(4,
              ::SendMessageW(window.Get(), WM_GETTEXT, 5, reinterpret_cast<LPARAM>(shortBuffer)));
    EXPECT_EQ(L"262 ", std::wstring(shortBuffer));
    EXPECT_EQ(0,
              ::SendMessageW(window.Get(), WM_GETTEXT, 0, reinterpret_cast<LPARAM>(shortBuffer)));
}

TEST(LiveText, AControlMadeAgainGetsTheTextEvenWhenItIsUnchanged) {
    CLiveText text;
    {
        CWindowHandle first = MakeStatic();
        ASSERT_TRUE(text.SubclassWindow(first.Get()));
        text.SetText(L"5 cookies");
        text.Store();
    }
    EXPECT_EQ(nullptr, text.GetHwnd());
    CWindowHandle second = MakeStatic();
    ASSERT_TRUE(text.SubclassWindow(second.Get()));
    text.SetText(L"5 cookies");
    text.Store();
    EXPECT_EQ(L"5 cookies", StoredText(second.Get()));
}
