#include "ui/CDetailsDlg.h"

#include "cookies/CCookieDomain.h"
#include "cookies/FileTime.h"
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

struct CColumnSpec {
    UINT header;
    int width;
};

constexpr CColumnSpec Columns[ColumnCount] = {
    {IDS_COLUMN_BROWSER, 60},  {IDS_COLUMN_NAME, 110},     {IDS_COLUMN_HOST, 130},
    {IDS_COLUMN_PATH, 70},     {IDS_COLUMN_EXPIRES, 125},  {IDS_COLUMN_LAST_USED, 125},
    {IDS_COLUMN_CREATED, 125}, {IDS_COLUMN_LOCATION, 260},
};

bool IsTimeColumn(int column) {
    return column == Expires || column == LastUsed || column == Created;
}

FILETIME TimeOf(const CCookieDescription& cookie, int column) {
    return column == Expires    ? cookie.expires
           : column == LastUsed ? cookie.lastUsed
                                : cookie.created;
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
    default:
        return IsoUtcText(TimeOf(cookie, column));
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
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {m_minimum.cx, m_minimum.cy};
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
    // The list's own text, which it never draws, is its name to screen readers.
    ::SetWindowTextW(::GetDlgItem(window, IDC_DETAILS_LIST), caption.c_str());
    RECT frame{};
    ::GetWindowRect(window, &frame);
    m_minimum = {(frame.right - frame.left) / 2, (frame.bottom - frame.top) / 2};
    HWND note = ::GetDlgItem(window, IDC_DETAILS_NOTE);
    RECT noteFrame{};
    ::GetWindowRect(note, &noteFrame);
    m_noteHeight = noteFrame.bottom - noteFrame.top;
    ::SetWindowTextW(note, m_note.c_str());
    ::ShowWindow(note, m_note.empty() ? SW_HIDE : SW_SHOWNA);
    m_list.Attach(::GetDlgItem(window, IDC_DETAILS_LIST));
    m_list.AddExtendedStyles(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    for (int column = 0; column < ColumnCount; ++column) {
        m_list.InsertColumn(column, LoadExpandedString(Columns[column].header), LVCFMT_LEFT,
                            Columns[column].width);
    }
    for (std::size_t row = 0; row < m_texts.size(); ++row) {
        const int index =
            m_list.InsertItem(static_cast<int>(row), m_texts[row][0], static_cast<LPARAM>(row));
        for (int column = 1; column < ColumnCount; ++column) {
            m_list.SetItemText(index, column, m_texts[row][column]);
        }
    }
    SortByColumn(Host);
    // The template leaves room for the note; without one the list takes it.
    Layout();
}

// The list fills the dialog but for the margins, the note when shown and the Close button's row.
void CDetailsDlg::Layout() {
    HWND close = ::GetDlgItem(m_hWnd, IDCANCEL);
    if (m_list.GetHwnd() == nullptr || close == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    RECT margins{7, 7, 7, 7};
    ::MapDialogRect(m_hWnd, &margins);
    RECT button{};
    ::GetWindowRect(close, &button);
    const int buttonWidth = button.right - button.left;
    const int buttonHeight = button.bottom - button.top;
    const int buttonTop = client.bottom - margins.bottom - buttonHeight;
    ::MoveWindow(close, client.right - margins.right - buttonWidth, buttonTop, buttonWidth,
                 buttonHeight, TRUE);
    const int width = client.right - margins.left - margins.right;
    int listBottom = buttonTop - margins.bottom;
    if (!m_note.empty()) {
        listBottom -= m_noteHeight + margins.bottom;
        ::MoveWindow(::GetDlgItem(m_hWnd, IDC_DETAILS_NOTE), margins.left,
                     listBottom + margins.bottom, width, m_noteHeight, TRUE);
    }
    ::MoveWindow(m_list.GetHwnd(), margins.left, margins.top, width, listBottom - margins.top,
                 TRUE);
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
