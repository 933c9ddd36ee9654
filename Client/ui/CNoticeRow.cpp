#include "ui/CNoticeRow.h"

#include "framework/ChildRect.h"
#include "framework/WindowText.h"
#include "res/resource.h"
#include "ui/TextRoom.h"

#include <algorithm>

namespace {

constexpr UINT LineFormat = DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_END_ELLIPSIS;

HWND MakeControl(HWND parent, const wchar_t* className, DWORD style, int id, const RECT& rect,
                 HFONT font) {
    HWND control = ::CreateWindowExW(WS_EX_NOPARENTNOTIFY, className, L"", style, rect.left,
                                     rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                     parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (control != nullptr) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    return control;
}

HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
}

} // namespace

void CNoticeRow::Create(HWND parent, const RECT& row, HFONT font) {
    m_parent = parent;
    // Owner-drawn only to centre its lines in the row; its text is still what screen readers
    // read.
    m_line = MakeControl(parent, L"STATIC", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, IDC_NOTICE_LINE,
                         row, font);
    m_button = MakeControl(parent, L"BUTTON", WS_CHILD | WS_GROUP | WS_TABSTOP, IDC_NOTICE_BUTTON,
                           row, font);
}

void CNoticeRow::SetText(const std::wstring& text) {
    if (m_line != nullptr && GetWindowString(m_line) != text) {
        ::SetWindowTextW(m_line, text.c_str());
    }
}

void CNoticeRow::SetButton(const std::wstring& label) {
    m_label = label;
    ::SetWindowTextW(m_button, label.c_str());
    ::ShowWindow(m_button, label.empty() ? SW_HIDE : SW_SHOWNA);
}

void CNoticeRow::Place(const RECT& model, LONG gap) {
    if (m_label.empty() || m_line == nullptr || m_button == nullptr) {
        return;
    }
    const RECT row = ChildRect(m_parent, m_line);
    const LONG height = model.bottom - model.top;
    const SIZE label = TextSize(FontOf(m_button), m_label, DT_SINGLELINE);
    // A push button's label keeps about a line's height clear at either side.
    const LONG width = std::min(std::max(model.right - model.left, label.cx + 2 * label.cy),
                                (row.right - row.left) / 2);
    const LONG top = row.top + (row.bottom - row.top - height) / 2;
    constexpr UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    ::SetWindowPos(m_button, nullptr, row.right - width, top, width, height, flags);
    ::SetWindowPos(m_line, nullptr, row.left, row.top, row.right - width - gap - row.left,
                   row.bottom - row.top, flags);
}

void CNoticeRow::Draw(const DRAWITEMSTRUCT& item) const {
    const std::wstring text = GetWindowString(item.hwndItem);
    const HGDIOBJ previous = ::SelectObject(item.hDC, FontOf(item.hwndItem));
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, ::GetSysColor(COLOR_BTNTEXT));
    RECT rect = item.rcItem;
    RECT needed = rect;
    ::DrawTextW(item.hDC, text.c_str(), -1, &needed, LineFormat | DT_CALCRECT);
    const LONG spare = (rect.bottom - rect.top) - (needed.bottom - needed.top);
    if (spare > 0) {
        rect.top += spare / 2;
    }
    ::DrawTextW(item.hDC, text.c_str(), -1, &rect, LineFormat);
    ::SelectObject(item.hDC, previous);
}

LONG CNoticeRow::Height(HFONT font, UINT dpi, LONG buttonHeight) {
    return std::max(buttonHeight, 2 * WidestAtEveryScale(font, dpi, L"Ag").cy);
}
