// The list's columns, row icon and layout, and how they follow the page's DPI.
#include "ui/CCookieBaseDlg.h"

#include "framework/Dpi.h"
#include "framework/UniqueHandle.h"
#include "res/StringLoader.h"
#include "res/resource.h"
#include "ui/PageColumns.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

struct CColumn {
    UINT header;
    int format;
    int width;
};

// In the order of PageColumn.
constexpr CColumn columns[] = {
    {IDS_COLUMN_SOURCE, LVCFMT_LEFT, 180},  {IDS_COLUMN_LAST_USED, LVCFMT_LEFT, 100},
    {IDS_COLUMN_CREATED, LVCFMT_LEFT, 100}, {IDS_COLUMN_TYPE, LVCFMT_LEFT, 55},
    {IDS_COLUMN_COUNT, LVCFMT_RIGHT, 45},
};

} // namespace

void CCookieBaseDlg::SetDpi(UINT dpi) {
    if (m_list.GetHwnd() == nullptr) {
        m_dpi = dpi;
    } else if (dpi != m_dpi) {
        ApplyDpi(dpi);
    }
}

void CCookieBaseDlg::SetUpColumns() {
    int index = 0;
    for (const CColumn& column : columns) {
        m_list.InsertColumn(index, LoadExpandedString(column.header), column.format,
                            ScaleForDpi(column.width, m_dpi));
        ++index;
    }
}

void CCookieBaseDlg::SetUpImageList() {
    const int size = ScaleForDpi(16, m_dpi);
    HIMAGELIST images = ::ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (images == nullptr) {
        return;
    }
    // The icon holds an image drawn for each common scale; shrinking another one would lose
    // the chips and fringe the rim.
    const CIconHandle icon(static_cast<HICON>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TOLLGATE), IMAGE_ICON, size, size, 0)));
    if (icon) {
        ::ImageList_ReplaceIcon(images, -1, icon.Get());
    }
    m_list.SetSmallImageList(images);
}

// The list grows with the page; the buttons below it keep to their corners, the count label to
// the right. At the template's size every control stays where the template put it.
void CCookieBaseDlg::SetUpLayout(UINT templateDpi) {
    using A = CAnchoredLayout;
    m_layout.SetParent(m_hWnd, templateDpi);
    m_layout.Add(m_list.GetHwnd(), A::GrowWidth | A::GrowHeight);
    m_layout.Add(::GetDlgItem(m_hWnd, IDC_CHECK_ALL), A::Bottom);
    m_layout.Add(::GetDlgItem(m_hWnd, IDC_CHECK_NONE), A::Bottom);
    m_layout.Add(::GetDlgItem(m_hWnd, IDC_AUTHORIZE), A::Right | A::Bottom);
    m_layout.Add(::GetDlgItem(m_hWnd, IDC_DELETE), A::Right | A::Bottom);
    m_layout.Add(::GetDlgItem(m_hWnd, IDC_COUNT_FRAME), A::Right);
    m_layout.Add(m_countLabel.GetHwnd(), A::Right);
}

// Column widths, the row icon, the bold font and the layout follow the page's DPI. The
// templates' own fonts are the dialog manager's.
void CCookieBaseDlg::ApplyDpi(UINT dpi) {
    m_dpi = dpi;
    for (int index = 0; index < static_cast<int>(std::size(columns)); ++index) {
        ListView_SetColumnWidth(m_list.GetHwnd(), index, ScaleForDpi(columns[index].width, dpi));
    }
    SetUpImageList();
    m_boldFont.SetDpi(dpi);
    ::SendMessageW(m_countLabel.GetHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.Get()),
                   TRUE);
    m_layout.SetDpi(dpi);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_layout.Apply(client.right, client.bottom);
    m_fittedKinds.clear();
    m_typeWidth = 0;
    for (const auto& [domain, shown] : m_listedDomains) {
        FitTypeColumn(shown.kinds);
    }
}

void CCookieBaseDlg::FitTypeColumn(std::uint32_t kinds) {
    // Few sites differ in their mix of browsers: each mix is measured once.
    if (!m_fittedKinds.insert(kinds).second) {
        return;
    }
    const std::wstring text = TypeTextForKinds(kinds);
    // A cell keeps six pixels clear at either side of its text, at 96 DPI.
    const int needed = static_cast<int>(::SendMessageW(m_list.GetHwnd(), LVM_GETSTRINGWIDTHW, 0,
                                                       reinterpret_cast<LPARAM>(text.c_str()))) +
                       ScaleForDpi(12, m_dpi);
    if (needed > m_typeWidth) {
        m_typeWidth = needed;
        WidenTypeColumn();
    }
}

void CCookieBaseDlg::WidenTypeColumn() {
    RECT list{};
    ::GetClientRect(m_list.GetHwnd(), &list);
    const int width = std::min(m_typeWidth, static_cast<int>(list.right / 3));
    if (width > ListView_GetColumnWidth(m_list.GetHwnd(), TypeColumn)) {
        ListView_SetColumnWidth(m_list.GetHwnd(), TypeColumn, width);
    }
}
