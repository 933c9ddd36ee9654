#include "framework/ListView.h"

#include "framework/CallbackBarrier.h"

namespace {

// State images of a list with LVS_EX_CHECKBOXES: 1 unchecked, 2 checked.
constexpr UINT checkedImage = INDEXTOSTATEIMAGEMASK(2);
constexpr UINT uncheckedImage = INDEXTOSTATEIMAGEMASK(1);
// Added to the header text's width when a column is first inserted.
constexpr int headerMargin = 15;

} // namespace

void CListView::AddExtendedStyles(DWORD styles) noexcept {
    const auto current =
        static_cast<DWORD>(::SendMessageW(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    ::SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, current | styles);
}

void CListView::InsertColumn(int index, const std::wstring& header, int format, int width) {
    std::wstring text = header;
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.pszText = text.data();
    column.cx = static_cast<int>(::SendMessageW(m_hWnd, LVM_GETSTRINGWIDTHW, 0,
                                                reinterpret_cast<LPARAM>(text.c_str()))) +
                headerMargin;
    column.iSubItem = index;
    ::SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&column));
    ::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(width, 0));
}

void CListView::SetSmallImageList(HIMAGELIST images) noexcept {
    auto* previous = reinterpret_cast<HIMAGELIST>(
        ::SendMessageW(m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
    // A replaced list is the caller's to free, and the caller is this wrapper.
    if (previous != nullptr && previous != images) {
        ::ImageList_Destroy(previous);
    }
}

int CListView::GetItemCount() const noexcept {
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int CListView::InsertItem(int index, const std::wstring& text, LPARAM param) {
    std::wstring label = text;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = label.data();
    item.lParam = param;
    return static_cast<int>(
        ::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void CListView::SetItemText(int index, int column, const std::wstring& text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

std::wstring CListView::GetItemText(int index, int column) const {
    std::wstring text(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<std::size_t>(::SendMessageW(
            m_hWnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        // A text that fills the buffer may have been cut short.
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

LPARAM CListView::GetItemParam(int index) const noexcept {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (m_hWnd == nullptr ||
        !::SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
        return 0;
    }
    return item.lParam;
}

bool CListView::DeleteItem(int index) noexcept {
    return ::SendMessageW(m_hWnd, LVM_DELETEITEM, static_cast<WPARAM>(index), 0) != FALSE;
}

int CListView::FindItem(LPARAM param) const noexcept {
    if (m_hWnd == nullptr) {
        return -1;
    }
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = param;
    return static_cast<int>(::SendMessageW(m_hWnd, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(&find)));
}

int CListView::FindPartitionPoint(const std::function<bool(LPARAM)>& before) const {
    int low = 0;
    int high = GetItemCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (before(GetItemParam(middle))) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

bool CListView::IsChecked(int index) const noexcept {
    return static_cast<UINT>(::SendMessageW(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(index),
                                            LVIS_STATEIMAGEMASK)) == checkedImage;
}

void CListView::SetCheck(int index, bool checked) noexcept {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = checked ? checkedImage : uncheckedImage;
    ::SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item));
}

std::vector<int> CListView::GetCheckedItems() const {
    std::vector<int> checked;
    const int count = GetItemCount();
    for (int index = 0; index < count; ++index) {
        if (IsChecked(index)) {
            checked.push_back(index);
        }
    }
    return checked;
}

void CListView::SortItems(const CCompare& compare) {
    // LVM_SORTITEMS hands the callback both rows' LPARAMs. (Wine 8 passes wrong row indexes
    // to LVM_SORTITEMSEX's callback.)
    ::SendMessageW(m_hWnd, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare),
                   reinterpret_cast<LPARAM>(CompareItems));
}

int CALLBACK CListView::CompareItems(LPARAM first, LPARAM second, LPARAM compare) {
    return CallbackBarrier(
        0, [=] { return (*reinterpret_cast<const CCompare*>(compare))(first, second); });
}
