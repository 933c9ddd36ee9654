// Waits until a visible top-level window with the given caption exists on the named desktop
// (the one "wine explorer /desktop=NAME" made), so that a script can take its screenshot once
// the program is up. Prints the window's geometry as WIDTHxHEIGHT+X+Y (for cropping the
// screenshot to it); exits with 1 after the timeout.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct CSearch {
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK Look(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<CSearch*>(param);
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    // IsWindowVisible looks at the parents, which belong to the other desktop: read the style.
    const bool visible = (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible && std::wcscmp(text, search.caption) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: waitwindow DESKTOP CAPTION [SECONDS]\n");
        return 2;
    }
    const ULONGLONG seconds = argc > 3 ? std::wcstoul(argv[3], nullptr, 10) : 60;
    const ULONGLONG end = ::GetTickCount64() + seconds * 1000;
    while (::GetTickCount64() < end) {
        if (HDESK desktop =
                ::OpenDesktopW(argv[1], 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE)) {
            CSearch search{argv[2], nullptr};
            ::EnumDesktopWindows(desktop, Look, reinterpret_cast<LPARAM>(&search));
            ::CloseDesktop(desktop);
            if (search.found != nullptr) {
                RECT rect{};
                ::GetWindowRect(search.found, &rect);
                std::wprintf(L"%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top,
                             rect.left, rect.top);
                return 0;
            }
        }
        ::Sleep(100);
    }
    return 1;
}
