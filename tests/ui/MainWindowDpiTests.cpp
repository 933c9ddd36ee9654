// The main window at another DPI, and after it has grown. Wine never moves a window between
// monitors, so the DPI change comes as Windows sends it: WM_DPICHANGED with the new DPI in
// wParam and the suggested window rectangle in lParam, to the real window.
#include "cookies/CStoreNotice.h"
#include "cookies/CookieKind.h"
#include "cookies/sources/CDatabaseCookie.h"
#include "res/resource.h"
#include "ui/PageHarness.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// The design's column widths at 96 DPI, and at 144 (rounded as MulDiv rounds).
const std::vector<int> Widths96 = {180, 100, 100, 55, 45};
const std::vector<int> Widths144 = {270, 150, 150, 83, 68};

std::vector<int> ColumnWidths(HWND page) {
    std::vector<int> widths;
    for (int column = 0; column < 5; ++column) {
        widths.push_back(ListView_GetColumnWidth(ListOf(page), column));
    }
    return widths;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    return font;
}

RECT RectIn(HWND parent, HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG Width(const RECT& rect) {
    return rect.right - rect.left;
}

LONG Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

// Every window inside the sheet, by its place in the sheet and its font's height.
std::map<HWND, std::pair<RECT, LONG>> Controls(HWND sheet) {
    std::map<HWND, std::pair<RECT, LONG>> controls;
    std::vector<HWND> children;
    ::EnumChildWindows(
        sheet,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        controls[child] = {RectIn(sheet, child), FontOf(child).lfHeight};
    }
    return controls;
}

// The pixels of an icon as 32-bit colour, drawn on white.
std::vector<COLORREF> Pixels(HICON icon, int size) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size, size);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    RECT all{0, 0, size, size};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            pixels.push_back(::GetPixel(memory, x, y));
        }
    }
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// The row icon the page's list draws: its size, and whether its pixels are those of the
// product icon's own image of that size.
void ExpectRowIcon(HWND page, int size) {
    HIMAGELIST images = ListView_GetImageList(ListOf(page), LVSIL_SMALL);
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(images, &cx, &cy));
    EXPECT_EQ(size, cx);
    EXPECT_EQ(size, cy);
    HICON shown = ::ImageList_GetIcon(images, 0, ILD_NORMAL);
    auto own =
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TOLLGATE),
                                        IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    ASSERT_NE(nullptr, shown);
    ASSERT_NE(nullptr, own);
    EXPECT_TRUE(Pixels(shown, size) == Pixels(own, size)) << "row icon at " << size;
    ::DestroyIcon(shown);
    ::DestroyIcon(own);
}

void ChangeDpi(HWND sheet, UINT dpi, RECT suggested) {
    ::SendMessageW(sheet, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
}

RECT WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

bool operator==(const RECT& one, const RECT& two) {
    return ::EqualRect(&one, &two) != FALSE;
}

class MainWindowDpi : public CPageTest {
protected:
    void SetUp() override {
        CPageTest::SetUp();
        CRefPtr<CCookieDomain> kept = MakeDomain(L"kept.com", 2, 10, 100);
        kept->SetAuthorized();
        service.domains = {MakeDomain(L"open.com", 3, 10, 100), kept};
    }
};

} // namespace

TEST_F(MainWindowDpi, FollowsTheNewDpiAndTheSuggestedRectangleAndComesBackToTheTemplate) {
    RunMainWindow(service, [&](HWND sheet) {
        HWND review = ToReviewPage(sheet);
        HWND label = ::GetDlgItem(review, IDC_COUNT_LABEL);
        HWND about = ::GetDlgItem(sheet, IDC_ABOUT);
        HWND status = ::GetDlgItem(sheet, IDC_STATUS_LINE);
        // The test prefix runs at 96 DPI: the design exactly.
        ASSERT_EQ(Widths96, ColumnWidths(review));
        ExpectRowIcon(review, 16);
        EXPECT_EQ(FW_BOLD, FontOf(label).lfWeight);
        EXPECT_EQ(FontOf(review).lfHeight, FontOf(label).lfHeight);
        EXPECT_EQ(FontOf(sheet).lfHeight, FontOf(about).lfHeight);
        const auto before = Controls(sheet);
        const RECT window = WindowRect(sheet);
        const RECT aboutRect = RectIn(sheet, about);
        const LONG fontHeight = FontOf(about).lfHeight;

        RECT client{};
        ::GetClientRect(sheet, &client);
        // The system scales the whole window; the frame may not scale as much.
        const RECT suggested{window.left + 20, window.top + 10,
                             window.left + 20 + ::MulDiv(Width(window), 3, 2),
                             window.top + 10 + ::MulDiv(Height(window), 3, 2)};
        ChangeDpi(sheet, 144, suggested);
        EXPECT_TRUE(WindowRect(sheet) == suggested);
        EXPECT_EQ(Widths144, ColumnWidths(review));
        ExpectRowIcon(review, 24);
        EXPECT_EQ(FW_BOLD, FontOf(label).lfWeight);
        EXPECT_EQ(::MulDiv(fontHeight, 3, 2), FontOf(label).lfHeight);
        for (HWND added :
             {about, ::GetDlgItem(sheet, IDC_NEWS), ::GetDlgItem(sheet, IDC_REFRESH), status}) {
            EXPECT_EQ(::MulDiv(fontHeight, 3, 2), FontOf(added).lfHeight) << ::GetDlgCtrlID(added);
        }
        EXPECT_EQ(::MulDiv(aboutRect.left, 3, 2), RectIn(sheet, about).left);
        EXPECT_EQ(::MulDiv(Width(aboutRect), 3, 2), Width(RectIn(sheet, about)));
        // The list ends where it did, scaled, and takes what the window has beyond that.
        RECT grown{};
        ::GetClientRect(sheet, &grown);
        const RECT list = RectIn(sheet, ListOf(review));
        const RECT listBefore = before.at(ListOf(review)).first;
        // Scaled in two steps, the page in the sheet and the list in the page, each rounded.
        EXPECT_NEAR(::MulDiv(listBefore.right, 3, 2) + grown.right - ::MulDiv(client.right, 3, 2),
                    list.right, 1);
        EXPECT_NEAR(::MulDiv(listBefore.bottom, 3, 2) + grown.bottom -
                        ::MulDiv(client.bottom, 3, 2),
                    list.bottom, 1);

        // The page made after the change is made at the new DPI.
        ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        HWND allowed = AllowedPage(sheet);
        ASSERT_NE(nullptr, allowed);
        EXPECT_EQ(Widths144, ColumnWidths(allowed));
        ExpectRowIcon(allowed, 24);
        EXPECT_EQ(::MulDiv(fontHeight, 3, 2),
                  FontOf(::GetDlgItem(allowed, IDC_COUNT_LABEL)).lfHeight);
        EXPECT_TRUE(RectIn(sheet, allowed) == RectIn(sheet, review));
        ::SendMessageW(sheet, PSM_SETCURSEL, 0, 0);

        // Through a DPI that scales with remainders, back to the start: every control is at
        // its very pixel again.
        ChangeDpi(sheet, 120, suggested);
        ChangeDpi(sheet, 96, window);
        EXPECT_TRUE(WindowRect(sheet) == window);
        EXPECT_EQ(Widths96, ColumnWidths(review));
        EXPECT_EQ(Widths96, ColumnWidths(allowed));
        ExpectRowIcon(review, 16);
        const auto after = Controls(sheet);
        for (const auto& [control, place] : before) {
            ASSERT_EQ(1u, after.count(control));
            EXPECT_TRUE(after.at(control).first == place.first)
                << ::GetDlgCtrlID(control) << " is not back at its place";
            EXPECT_EQ(place.second, after.at(control).second) << ::GetDlgCtrlID(control);
        }
    });
}

namespace {

// How many colours the control shows in the window's own pixels: a control left blank shows
// one.
std::size_t ColoursShown(HWND sheet, HWND control) {
    const RECT rect = RectIn(sheet, control);
    HDC window = ::GetDC(sheet);
    std::set<COLORREF> colours;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        for (LONG x = rect.left; x < rect.right; ++x) {
            colours.insert(::GetPixel(window, x, y));
        }
    }
    ::ReleaseDC(sheet, window);
    return colours.size();
}

} // namespace

TEST_F(MainWindowDpi, EveryControlAMoveReachesIsDrawnAfresh) {
    RunMainWindow(service, [&](HWND sheet) {
        HWND review = ToReviewPage(sheet);
        const RECT window = WindowRect(sheet);
        ::SetWindowPos(sheet, nullptr, 0, 0, Width(window) + 300, Height(window) + 200,
                       SWP_NOMOVE | SWP_NOZORDER);
        ::UpdateWindow(sheet);
        ::RedrawWindow(sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        for (HWND moved :
             {::GetDlgItem(sheet, IDOK), ::GetDlgItem(sheet, IDHELP),
              ::GetDlgItem(sheet, IDC_ABOUT), ::GetDlgItem(sheet, IDC_REFRESH),
              ::GetDlgItem(sheet, IDC_STATUS_LINE), ::GetDlgItem(review, IDC_DELETE),
              ::GetDlgItem(review, IDC_CHECK_ALL), ::GetDlgItem(review, IDC_COUNT_LABEL)}) {
            EXPECT_LT(1u, ColoursShown(sheet, moved)) << ::GetDlgCtrlID(moved) << " is blank";
        }
    });
}

namespace {

// A load that ended with the widest summary and with two browsers open.
CLoadProgress WidestLoad() {
    CLoadProgress progress;
    progress.cookies = 88888;
    progress.sites = 8888;
    progress.milliseconds = 88800;
    for (CookieKind kind : {CookieKind::Chrome, CookieKind::Edge}) {
        CStoreNotice notice;
        notice.problem = CStoreProblem::BrowserOpen;
        notice.kind = kind;
        progress.notices.push_back(notice);
    }
    return progress;
}

std::wstring TextOf(HWND control) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(control, text, 1024);
    return text;
}

// What `text` takes in the control's font: on one line, or wrapped at the control's width.
SIZE TextExtentIn(HWND control, const std::wstring& text, bool wrapped = false) {
    HDC dc = ::GetDC(control);
    const HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    if (wrapped) {
        RECT rect{};
        ::GetClientRect(control, &rect);
        ::DrawTextW(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
        size = {Width(rect), Height(rect)};
    } else {
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(control, dc);
    return size;
}

// The window at the designed size for its DPI: the smallest it lets itself be made.
void ToDesignedSize(HWND sheet) {
    MINMAXINFO limits{};
    ::SendMessageW(sheet, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    ::SetWindowPos(sheet, nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y,
                   SWP_NOMOVE | SWP_NOZORDER);
}

} // namespace

TEST_F(MainWindowDpi, SummaryNoticesAndTypesShowWholeAtTheDesignedSizeAtEveryDpi) {
    CFakeDomainService loaded;
    loaded.progress = WidestLoad();
    // A site with cookies of five browsers.
    CRefPtr<CCookieDomain> site = MakeDomain(L"open.com", 2, 10, 100, 3);
    const auto store = std::make_shared<const CBrowserStore>();
    for (CookieKind kind : {CookieKind::Chrome, CookieKind::Edge, CookieKind::Firefox}) {
        site->AddCookie(CDatabaseCookie::Create(kind, store, CSharedText(L"www.open.com"),
                                                FILETIME{}, FILETIME{}, {}));
    }
    loaded.domains = {site};
    RunMainWindow(loaded, [&](HWND sheet) {
        HWND review = ToReviewPage(sheet);
        HWND status = ::GetDlgItem(sheet, IDC_STATUS_LINE);
        HWND line = ::GetDlgItem(sheet, IDC_NOTICE_LINE);
        const std::wstring chrome = L"Chrome is open, so its cookies are not shown. Close Chrome "
                                    L"and they appear here.";
        ASSERT_NE(nullptr, line);
        EXPECT_EQ(chrome + L"  " +
                      L"Edge is open, so its cookies are not shown. Close Edge and "
                      L"they appear here.",
                  TextOf(line));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(sheet, IDC_NOTICE_BUTTON)));
        const RECT window = WindowRect(sheet);
        for (UINT dpi : {96u, 192u}) {
            const RECT suggested{window.left, window.top,
                                 window.left + ::MulDiv(Width(window), dpi, 96),
                                 window.top + ::MulDiv(Height(window), dpi, 96)};
            ChangeDpi(sheet, dpi, suggested);
            ToDesignedSize(sheet);
            RECT client{};
            ::GetClientRect(status, &client);
            EXPECT_LE(TextExtentIn(status, TextOf(status)).cx, client.right) << dpi;
            ::GetClientRect(line, &client);
            EXPECT_LE(TextExtentIn(line, chrome).cx, client.right) << dpi;
            EXPECT_LE(TextExtentIn(line, TextOf(line), true).cy, client.bottom) << dpi;

            // The row: as wide as the tabs' frame, between it and the buttons.
            const RECT row = RectIn(sheet, line);
            const RECT tabs = RectIn(sheet, ::GetDlgItem(sheet, IDC_SHEET_TABS));
            const RECT help = RectIn(sheet, ::GetDlgItem(sheet, IDHELP));
            EXPECT_EQ(tabs.left, row.left) << dpi;
            EXPECT_EQ(help.right, row.right) << dpi;
            EXPECT_LE(tabs.bottom, row.top) << dpi;
            for (int id : {IDC_ABOUT, IDC_NEWS, IDC_REFRESH, IDC_STATUS_LINE, IDOK, IDHELP}) {
                EXPECT_LE(row.bottom, RectIn(sheet, ::GetDlgItem(sheet, id)).top) << id;
            }

            // The Type column shows the site's five browsers.
            HWND list = ListOf(review);
            const std::wstring types = ReadColumn(review, 3).at(0);
            const auto needed = ::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0,
                                               reinterpret_cast<LPARAM>(types.c_str()));
            EXPECT_LT(needed, ListView_GetColumnWidth(list, 3)) << dpi;
        }
    });
}
