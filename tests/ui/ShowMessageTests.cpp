#include "ui/ShowMessage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

struct CSeenBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};

// Waits for the message box of this process, reads it and presses OK, as a user would.
CSeenBox CloseNextMessageBox() {
    CSeenBox seen;
    for (int i = 0; i < 200; ++i) {
        HWND box = ::FindWindowW(L"#32770", nullptr);
        DWORD process = 0;
        if (box != nullptr && ::GetWindowThreadProcessId(box, &process) &&
            process == ::GetCurrentProcessId()) {
            wchar_t buffer[512];
            ::GetWindowTextW(box, buffer, 512);
            seen.caption = buffer;
            ::GetDlgItemTextW(box, 0xFFFF, buffer, 512);
            seen.text = buffer;
            seen.owner = ::GetWindow(box, GW_OWNER);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return seen;
        }
        ::Sleep(50);
    }
    ADD_FAILURE() << "no message box appeared";
    return seen;
}

} // namespace

TEST(ShowMessage, ShowsTheTextUnderTheProductNameWithoutOwnerOnAThreadWithoutWindows) {
    CSeenBox seen;
    std::thread closer([&] { seen = CloseNextMessageBox(); });
    std::thread worker([] { ShowMessage(L"Loading failed.", MB_OK | MB_ICONERROR); });
    worker.join();
    closer.join();
    EXPECT_EQ(L"Tollgate", seen.caption);
    EXPECT_EQ(L"Loading failed.", seen.text);
    EXPECT_EQ(nullptr, seen.owner);
}

TEST(ShowMessage, IsOwnedByTheActiveWindow) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    ::SetActiveWindow(window);
    ASSERT_EQ(window, ::GetActiveWindow());
    CSeenBox seen;
    std::thread closer([&] { seen = CloseNextMessageBox(); });
    ShowMessage(L"Failed authorizing cookie.", MB_OK | MB_ICONWARNING);
    closer.join();
    EXPECT_EQ(window, seen.owner);
    ::DestroyWindow(window);
}
