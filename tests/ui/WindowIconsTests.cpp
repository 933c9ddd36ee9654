#include "ui/WindowIcons.h"

#include <gtest/gtest.h>

namespace {

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

} // namespace

TEST(WindowIcons, LoadsTheProductIconInBothSizes) {
    const CWindowIcons icons(::GetModuleHandleW(nullptr));
    ASSERT_NE(nullptr, icons.Large());
    ASSERT_NE(nullptr, icons.Small());
    EXPECT_EQ(::GetSystemMetrics(SM_CXICON), IconWidth(icons.Large()));
    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), IconWidth(icons.Small()));

    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    icons.Apply(window);
    EXPECT_EQ(icons.Large(),
              reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_BIG, 0)));
    EXPECT_EQ(icons.Small(),
              reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0)));
    ::DestroyWindow(window);
}

TEST(WindowIcons, AMissingIconResourceLeavesNullIcons) {
    const CWindowIcons icons(::GetModuleHandleW(L"kernel32.dll"));
    EXPECT_EQ(nullptr, icons.Large());
    EXPECT_EQ(nullptr, icons.Small());
}
