#include "ui/CDetailsDlg.h"

#include "cookies/CCookieDomain.h"
#include "cookies/FileTime.h"
#include "framework/Dpi.h"
#include "framework/UniqueHandle.h"
#include "store/ErrorText.h"
#include "res/StringLoader.h"
#include "ui/NoticeText.h"
#include "ui/TimeText.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

namespace {

enum CColumn { Browser, Name, Host, Path, Expires, LastUsed, Created, Location, ColumnCount };

constexpr UINT Headers[ColumnCount] = {
    IDS_COLUMN_BROWSER, IDS_COLUMN_NAME,      IDS_COLUMN_HOST,    IDS_COLUMN_PATH,
    IDS_COLUMN_EXPIRES, IDS_COLUMN_LAST_USED, IDS_COLUMN_CREATED, IDS_COLUMN_LOCATION,
};

// Posted to itself once the system has done its part of a DPI change.
constexpr UINT WM_DPI_SETTLED = WM_APP + 1;

bool IsTimeColumn(int column) {
    return column == Expires || column == LastUsed || column == Created;
}

FILETIME TimeOf(const CCookieDescription& cookie, int column) {
    return column == Expires    ? cookie.expires
           : column == LastUsed ? cookie.lastUsed
                                : cookie.created;
}

// A cookie without an expiry that its store read now is a session cookie. Flash files and
// cache entries without a readable record have none to say, nor has a store that failed.
bool IsSessionCookie(const CCookieDescription& cookie) {
    return ToUInt64(cookie.expires) == 0 && cookie.problem.problem == CStoreProblem::None &&
           cookie.kind != CookieKind::Flash &&
           (cookie.kind != CookieKind::IE || !cookie.name.empty());
}

int CompareValues(std::uint64_t a, std::uint64_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

// The clipboard, open for this window until the scope ends.
class COpenClipboard {
public:
    explicit COpenClipboard(HWND owner) {
        if (!::OpenClipboard(owner)) {
            ThrowLastError();
        }
    }
    COpenClipboard(const COpenClipboard&) = delete;
    COpenClipboard& operator=(const COpenClipboard&) = delete;
    ~COpenClipboard() { ::CloseClipboard(); }
};

void PutOnClipboard(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    CGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        ThrowLastError();
    }
    void* target = ::GlobalLock(memory.Get());
    if (target == nullptr) {
        ThrowLastError();
    }
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(memory.Get());
    COpenClipboard clipboard(owner);
    if (!::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, memory.Get())) {
        ThrowLastError();
    }
    // The clipboard owns the memory now.
    memory.Detach();
}

// A cell as copied: tabs and line breaks, which part cells and rows, become blanks. (Escapes
// such as \t would read wrongly inside a path.)
std::wstring OneCell(std::wstring text) {
    std::replace_if(
        text.begin(), text.end(), [](wchar_t c) { return c == L'\t' || c == L'\r' || c == L'\n'; },
        L' ');
    return text;
}

// Each problem once, one a line, in the order of the rows.
std::wstring NoteOf(const CCookieDescriptions& cookies) {
    std::vector<std::wstring> problems;
    std::wstring note;
    for (const CCookieDescription& cookie : cookies) {
        std::wstring problem = ProblemText(cookie.problem);
        if (!problem.empty() &&
            std::find(problems.begin(), problems.end(), problem) == problems.end()) {
            note += (problems.empty() ? L"" : L"\r\n") + problem;
            problems.push_back(std::move(problem));
        }
    }
    return note;
}

} // namespace

CDetailsDlg::CDetailsDlg(std::wstring site, CCookieDescriptions cookies)
    : m_site(std::move(site)), m_cookies(std::move(cookies)), m_note(NoteOf(m_cookies)) {
    for (std::size_t row = 0; row < m_cookies.size(); ++row) {
        std::vector<std::wstring> texts;
        for (int column = 0; column < ColumnCount; ++column) {
            texts.push_back(CellText(row, column));
        }
        m_texts.push_back(std::move(texts));
    }
}

std::wstring CDetailsDlg::CellText(std::size_t row, int column) const {
    const CCookieDescription& cookie = m_cookies[row];
    switch (column) {
    case Browser:
        return TypeTextForKinds(KindBit(cookie.kind));
    case Name:
        return cookie.name;
    case Host:
        return cookie.host;
    case Path:
        return cookie.path;
    case Location:
        return cookie.location;
    case Expires:
        return IsSessionCookie(cookie) ? LoadExpandedString(IDS_DETAILS_SESSION_END)
                                       : LocalTimeText(cookie.expires);
    default:
        return LocalTimeText(TimeOf(cookie, column));
    }
}

bool CDetailsDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window);
        break;
    case WM_SIZE:
        Layout();
        result = 0;
        return true;
    case WM_GETMINMAXINFO:
        if (m_layout.HomeSize().cx != 0) {
            const SIZE minimum = MinimumSize();
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum.cx, minimum.cy};
            result = 0;
            return true;
        }
        break;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        // Not handled: the dialog manager still scales the template's controls and fonts.
        break;
    case WM_DPI_SETTLED:
        Layout();
        FitColumns();
        result = 0;
        return true;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_DETAILS_LIST) {
            break;
        }
        if (header->code == LVN_COLUMNCLICK) {
            SortByColumn(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
            result = 0;
            return true;
        }
        if (header->code == LVN_KEYDOWN &&
            reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == 'C' &&
            (::GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            CopySelectedRows();
            result = 0;
            return true;
        }
        break;
    }
    default:
        break;
    }
    return CSimpleDialog::ProcessWindowMessage(window, message, wParam, lParam, result);
}

void CDetailsDlg::OnInitDialog(HWND window) {
    const std::wstring caption =
        FormatString(LoadExpandedString(IDS_DETAILS_CAPTION).c_str(), m_site.c_str());
    ::SetWindowTextW(window, caption.c_str());
    HWND list = ::GetDlgItem(window, IDC_DETAILS_LIST);
    // The list's own text, which it never draws, is its name to screen readers.
    ::SetWindowTextW(list, caption.c_str());
    HWND note = ::GetDlgItem(window, IDC_DETAILS_NOTE);
    ::SetWindowTextW(note, m_note.c_str());
    if (m_note.empty()) {
        // The template leaves room for the note; without one the list takes it.
        ::ShowWindow(note, SW_HIDE);
        RECT listFrame{};
        RECT noteFrame{};
        ::GetWindowRect(list, &listFrame);
        ::GetWindowRect(note, &noteFrame);
        ::SetWindowPos(list, nullptr, 0, 0, listFrame.right - listFrame.left,
                       noteFrame.bottom - listFrame.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_layout.SetParent(window, WindowDpi(window));
    m_layout.Add(list, CAnchoredLayout::GrowWidth | CAnchoredLayout::GrowHeight);
    m_layout.Add(note, CAnchoredLayout::Bottom | CAnchoredLayout::GrowWidth);
    m_layout.Add(::GetDlgItem(window, IDCANCEL), CAnchoredLayout::Right | CAnchoredLayout::Bottom);
    m_list.Attach(list);
    m_list.AddExtendedStyles(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    for (int column = 0; column < ColumnCount; ++column) {
        m_list.InsertColumn(column, LoadExpandedString(Headers[column]), LVCFMT_LEFT,
                            LVSCW_AUTOSIZE_USEHEADER);
    }
    for (std::size_t row = 0; row < m_texts.size(); ++row) {
        const int index =
            m_list.InsertItem(static_cast<int>(row), m_texts[row][0], static_cast<LPARAM>(row));
        for (int column = 1; column < ColumnCount; ++column) {
            m_list.SetItemText(index, column, m_texts[row][column]);
        }
    }
    FitColumns();
    SortByColumn(Host);
}

// The template's size at the window's DPI, with the frame it has now.
SIZE CDetailsDlg::MinimumSize() const {
    RECT frame{};
    RECT client{};
    ::GetWindowRect(m_hWnd, &frame);
    ::GetClientRect(m_hWnd, &client);
    const SIZE home = m_layout.HomeSize();
    return {home.cx + (frame.right - frame.left) - client.right,
            home.cy + (frame.bottom - frame.top) - client.bottom};
}

void CDetailsDlg::Layout() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_layout.Apply(client.right, client.bottom);
}

// Each column as wide as its widest text, cell or header, in the list's font of the moment.
void CDetailsDlg::FitColumns() {
    HWND list = m_list.GetHwnd();
    // The header insets its text on both sides; dialog units follow the DPI with the font.
    RECT margin{0, 0, 10, 0};
    ::MapDialogRect(m_hWnd, &margin);
    for (int column = 0; column < ColumnCount; ++column) {
        const std::wstring header = LoadExpandedString(Headers[column]);
        int width = ListView_GetStringWidth(list, header.c_str()) + margin.right;
        if (column == ColumnCount - 1) {
            // The last column takes the room the list has left.
            ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE_USEHEADER);
            width = std::max(width, ListView_GetColumnWidth(list, column));
        }
        ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE);
        width = std::max(width, ListView_GetColumnWidth(list, column));
        ListView_SetColumnWidth(list, column, width);
    }
}

// The DPI comes with the message: the window's own may not have changed yet, and never does
// under Wine. The dialog manager may move the controls after this: the layout and the column
// widths are made again once it has.
void CDetailsDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    m_layout.SetDpi(dpi);
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::PostMessageW(m_hWnd, WM_DPI_SETTLED, 0, 0);
}

void CDetailsDlg::SortByColumn(int column) {
    if (column < 0 || column >= ColumnCount) {
        return;
    }
    m_sortForward = column == m_sortColumn ? !m_sortForward : true;
    m_sortColumn = column;
    m_list.SortItems([this](LPARAM first, LPARAM second) {
        const auto a = static_cast<std::size_t>(first);
        const auto b = static_cast<std::size_t>(second);
        int order =
            IsTimeColumn(m_sortColumn)
                ? CompareValues(ToUInt64(TimeOf(m_cookies[a], m_sortColumn)),
                                ToUInt64(TimeOf(m_cookies[b], m_sortColumn)))
                : _wcsicmp(m_texts[a][m_sortColumn].c_str(), m_texts[b][m_sortColumn].c_str());
        if (order == 0) {
            // Equal keys keep one order, whatever the list did before.
            order = CompareValues(a, b);
        }
        return m_sortForward ? order : -order;
    });
}

std::wstring CDetailsDlg::SelectedRowsText() const {
    std::wstring text;
    HWND list = m_list.GetHwnd();
    for (int index = ListView_GetNextItem(list, -1, LVNI_SELECTED); index != -1;
         index = ListView_GetNextItem(list, index, LVNI_SELECTED)) {
        const std::vector<std::wstring>& row =
            m_texts[static_cast<std::size_t>(m_list.GetItemParam(index))];
        for (int column = 0; column < ColumnCount; ++column) {
            text += (column == 0 ? L"" : L"\t") + OneCell(row[column]);
        }
        text += L"\r\n";
    }
    return text;
}

void CDetailsDlg::CopySelectedRows() const {
    const std::wstring text = SelectedRowsText();
    if (!text.empty()) {
        PutOnClipboard(m_hWnd, text);
    }
}
