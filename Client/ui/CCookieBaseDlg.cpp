#include "ui/CCookieBaseDlg.h"

#include "app/WebPages.h"
#include "cookies/FileTime.h"
#include "framework/CallbackBarrier.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "ui/AgeText.h"
#include "ui/ShowMessage.h"
#include "ui/StringLoader.h"
#include "ui/WaitCursor.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace {

struct CColumn {
    UINT header;
    int format;
    int width;
};

constexpr CColumn columns[] = {
    {IDS_COLUMN_SOURCE, LVCFMT_LEFT, 180},  {IDS_COLUMN_LAST_USED, LVCFMT_LEFT, 100},
    {IDS_COLUMN_CREATED, LVCFMT_LEFT, 100}, {IDS_COLUMN_TYPE, LVCFMT_LEFT, 55},
    {IDS_COLUMN_COUNT, LVCFMT_RIGHT, 45},
};

constexpr int typeColumn = 3;
constexpr int countColumn = 4;
constexpr UINT checkedImage = 0x2000;
constexpr UINT uncheckedImage = 0x1000;

// How long the list's drawing may be held while rows come and go.
constexpr UINT_PTR drawingTimer = 1;
constexpr UINT drawingDelay = 250;

// Ordering of two numbers: the smaller first.
int Order(std::uint64_t first, std::uint64_t second) {
    if (first == second) {
        return 0;
    }
    return first < second ? -1 : 1;
}

std::wstring CountText(std::size_t count) {
    return FormatString(L"%u", static_cast<unsigned>(count));
}

} // namespace

CCookieBaseDlg::CCookieBaseDlg(UINT templateId, CDomainService& service) noexcept
    : CPropertyPageImpl(templateId), manager(service) {}

void CCookieBaseDlg::AddOrQueueDomain(const CRefPtr<CCookieDomain>& domain) {
    if (listView == nullptr) {
        const bool queued =
            std::any_of(pendingDomains.begin(), pendingDomains.end(),
                        [&](const CRefPtr<CCookieDomain>& d) { return d.Get() == domain.Get(); });
        if (!queued) {
            pendingDomains.push_back(domain);
        }
        return;
    }
    if (listedDomains.count(domain.Get()) == 0) {
        AddDomain(domain);
    }
}

void CCookieBaseDlg::AddDomain(const CRefPtr<CCookieDomain>& domain) {
    std::wstring name = domain->GetName();
    const std::size_t count = domain->GetCookieCount();

    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = FindInsertPosition(*domain);
    item.pszText = name.data();
    item.lParam = reinterpret_cast<LPARAM>(domain.Get());
    HoldDrawing();
    const int index = static_cast<int>(
        ::SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) {
        return;
    }
    // The row's own reference, released by RemoveRow.
    domain->AddRef();
    listedDomains.insert(domain.Get());

    SetCell(index, 1, FormatAgeText(domain->GetLastUsed()));
    SetCell(index, 2, FormatAgeText(domain->GetCreated()));
    SetCell(index, typeColumn, domain->GetTypeText());
    SetCell(index, countColumn, CountText(count));
    cookieTotal = static_cast<std::uint16_t>(cookieTotal + count);
    RefreshCountLabel();
}

void CCookieBaseDlg::UpdateDomain(const CRefPtr<CCookieDomain>& domain) {
    if (listView == nullptr || listedDomains.count(domain.Get()) == 0) {
        return;
    }
    const int index = FindRow(*domain);
    if (index < 0) {
        return;
    }
    const long shown = GetShownCount(index);
    const std::size_t count = domain->GetCookieCount();
    if (static_cast<long>(count) == shown) {
        return;
    }
    cookieTotal = static_cast<std::uint16_t>(cookieTotal + count - static_cast<std::size_t>(shown));
    HoldDrawing();
    RefreshCountLabel();
    SetCell(index, typeColumn, domain->GetTypeText());
    SetCell(index, countColumn, CountText(count));
}

void CCookieBaseDlg::RemoveRow(int index) {
    const CRefPtr<CCookieDomain> domain = GetRowDomain(index);
    if (!domain) {
        return;
    }
    const long shown = GetShownCount(index);
    HoldDrawing();
    ::SendMessageW(listView, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    listedDomains.erase(domain.Get());
    cookieTotal = static_cast<std::uint16_t>(cookieTotal - shown);
    RefreshCountLabel();
    domain->Release();
}

void CCookieBaseDlg::RemoveAllRows() {
    for (int index = GetRowCount() - 1; index >= 0; --index) {
        RemoveRow(index);
    }
}

std::vector<int> CCookieBaseDlg::GetCheckedRows() const {
    std::vector<int> checked;
    const int count = GetRowCount();
    for (int index = 0; index < count; ++index) {
        const auto state = static_cast<UINT>(::SendMessageW(
            listView, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK));
        if (state == checkedImage) {
            checked.push_back(index);
        }
    }
    return checked;
}

void CCookieBaseDlg::RefreshCountLabel() {
    const std::wstring text = FormatString(LoadExpandedString(GetCountStringId()).c_str(),
                                           static_cast<unsigned>(cookieTotal));
    ::SetWindowTextW(countLabel, text.c_str());
    if (!drawingHeld) {
        RepaintCountLabel();
    }
}

void CCookieBaseDlg::RepaintCountLabel() {
    RECT rect{};
    ::GetWindowRect(countLabel, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    ::InvalidateRect(m_hWnd, &rect, TRUE);
    // The label and the page behind it repaint now; the list keeps its own turn.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    ::UpdateWindow(countLabel);
}

void CCookieBaseDlg::HoldDrawing() {
    // Under Wine every inserted or deleted row redraws the list's scroll bar at once, and
    // every change of a row or of the label repaints it: a load of thousands of cookies
    // would spend nearly all its time drawing. Held, both are drawn with all the changes
    // once the interval is over; the texts themselves change at once.
    if (!drawingHeld) {
        ::SendMessageW(listView, WM_SETREDRAW, FALSE, 0);
        ::SendMessageW(countLabel, WM_SETREDRAW, FALSE, 0);
        drawingHeld = true;
        ::SetTimer(m_hWnd, drawingTimer, drawingDelay, nullptr);
    }
}

void CCookieBaseDlg::ReleaseDrawing() {
    ::KillTimer(m_hWnd, drawingTimer);
    if (drawingHeld) {
        drawingHeld = false;
        // Drawing on again brings the list's scroll bar up to date and invalidates the list.
        ::SendMessageW(listView, WM_SETREDRAW, TRUE, 0);
        ::SendMessageW(countLabel, WM_SETREDRAW, TRUE, 0);
        RepaintCountLabel();
    }
}

int CCookieBaseDlg::GetRowCount() const {
    return listView ? static_cast<int>(::SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

CRefPtr<CCookieDomain> CCookieBaseDlg::GetRowDomain(int index) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!::SendMessageW(listView, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
        return nullptr;
    }
    return CRefPtr<CCookieDomain>(reinterpret_cast<CCookieDomain*>(item.lParam));
}

void CCookieBaseDlg::ShowHelp() {
    OpenHelpPage();
}

bool CCookieBaseDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        SetUpPage();
        result = TRUE;
        return true;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CHECK_ALL:
            SetAllChecks(checkedImage);
            break;
        case IDC_CHECK_NONE:
            SetAllChecks(uncheckedImage);
            break;
        case IDC_DELETE:
            DeleteChecked();
            break;
        default:
            return CPropertyPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
        }
        result = 0;
        return true;
    case WM_TIMER:
        if (wParam != drawingTimer) {
            break;
        }
        ReleaseDrawing();
        result = 0;
        return true;
    case WM_DESTROY:
        RemoveAllRows();
        ReleaseDrawing();
        // The controls go with the page: from now on offered domains queue again.
        listView = nullptr;
        countLabel = nullptr;
        result = 0;
        return true;
    case WM_DRAWITEM:
        if (wParam == IDC_COUNT_LABEL) {
            DrawCountLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        }
        result = TRUE;
        return true;
    case WM_HELP:
        ShowHelp();
        result = TRUE;
        return true;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == LVN_COLUMNCLICK) {
            SortByColumn(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
            result = 0;
            return true;
        }
        break;
    }
    default:
        break;
    }
    return CPropertyPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
}

void CCookieBaseDlg::SetUpPage() {
    listView = ::GetDlgItem(m_hWnd, IDC_COOKIE_LIST);
    const auto styles =
        static_cast<DWORD>(::SendMessageW(listView, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    ::SendMessageW(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   styles | LVS_EX_CHECKBOXES | LVS_EX_FLATSB | LVS_EX_LABELTIP);
    SetUpColumns();
    SetUpImageList();
    CreateCountLabel();

    // Through the virtual AddDomain, so a page that filters filters these too.
    CDomainList queued;
    queued.swap(pendingDomains);
    for (const CRefPtr<CCookieDomain>& domain : queued) {
        AddDomain(domain);
    }
}

void CCookieBaseDlg::SetUpColumns() {
    int index = 0;
    for (const CColumn& column : columns) {
        std::wstring header = LoadExpandedString(column.header);
        LVCOLUMNW info{};
        info.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        info.fmt = column.format;
        info.pszText = header.data();
        info.cx = static_cast<int>(::SendMessageW(listView, LVM_GETSTRINGWIDTHW, 0,
                                                  reinterpret_cast<LPARAM>(header.c_str()))) +
                  15;
        info.iSubItem = index;
        ::SendMessageW(listView, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&info));
        ::SendMessageW(listView, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index),
                       MAKELPARAM(column.width, 0));
        ++index;
    }
}

void CCookieBaseDlg::SetUpImageList() {
    HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    if (images == nullptr) {
        return;
    }
    const CIconHandle icon(static_cast<HICON>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TOLLGATE), IMAGE_ICON, 16, 16, 0)));
    if (icon) {
        ::ImageList_ReplaceIcon(images, -1, icon.Get());
    }
    // The list view owns the image list from here on and frees it with itself.
    ::SendMessageW(listView, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

void CCookieBaseDlg::CreateCountLabel() {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_COUNT_FRAME), &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    countLabel =
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, rect.left,
                          rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_COUNT_LABEL)),
                          ::GetModuleHandleW(nullptr), nullptr);
    RefreshCountLabel();
}

void CCookieBaseDlg::SetAllChecks(UINT stateImage) {
    const int count = GetRowCount();
    for (int index = 0; index < count; ++index) {
        LVITEMW item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = stateImage;
        ::SendMessageW(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item));
    }
}

void CCookieBaseDlg::DeleteChecked() {
    const std::vector<int> checked = GetCheckedRows();
    if (checked.empty()) {
        ShowMessage(LoadExpandedString(IDS_CHECK_TO_DELETE), MB_OK | MB_ICONINFORMATION);
        return;
    }
    const CWaitCursor wait;
    // From the bottom up, so the indexes still to come stay valid.
    for (auto row = checked.rbegin(); row != checked.rend(); ++row) {
        const CRefPtr<CCookieDomain> domain = GetRowDomain(*row);
        if (!domain || !manager.DeleteDomain(domain)) {
            return;
        }
        RemoveRow(*row);
    }
}

void CCookieBaseDlg::SortByColumn(int column) {
    const CWaitCursor wait;
    if (column == sortColumn) {
        sortForward = !sortForward;
    } else {
        sortColumn = column;
        sortForward = true;
    }
    // LVM_SORTITEMS hands the callback both rows' item data, the very domains to compare.
    // (Wine 8 passes wrong row indexes to LVM_SORTITEMSEX's callback.)
    ::SendMessageW(listView, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                   reinterpret_cast<LPARAM>(CompareCallback));
}

void CCookieBaseDlg::DrawCountLabel(const DRAWITEMSTRUCT& item) const {
    const int length = ::GetWindowTextLengthW(countLabel);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(countLabel, text.data(), length + 1)));

    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    font.lfWeight = FW_BOLD;
    const CFontHandle bold(::CreateFontIndirectW(&font));
    const HGDIOBJ previous = ::SelectObject(item.hDC, bold.Get());
    RECT rect = item.rcItem;
    ::DrawTextW(item.hDC, text.c_str(), -1, &rect, DT_RIGHT);
    ::SelectObject(item.hDC, previous);
}

int CCookieBaseDlg::CompareRows(CCookieDomain& first, CCookieDomain& second) const {
    int result = 0;
    switch (sortColumn) {
    case 0: {
        const int order = first.GetName().compare(second.GetName());
        result = order < 0 ? -1 : (order > 0 ? 1 : 0);
        break;
    }
    case 1:
        // The most recent first.
        result = -Order(ToUInt64(first.GetLastUsed()), ToUInt64(second.GetLastUsed()));
        break;
    case 2:
        result = -Order(ToUInt64(first.GetCreated()), ToUInt64(second.GetCreated()));
        break;
    case 3:
        result = Order(static_cast<std::uint16_t>(first.GetKinds()),
                       static_cast<std::uint16_t>(second.GetKinds()));
        break;
    default:
        result = Order(static_cast<std::uint16_t>(first.GetCookieCount()),
                       static_cast<std::uint16_t>(second.GetCookieCount()));
        break;
    }
    return sortForward ? result : -result;
}

int CALLBACK CCookieBaseDlg::CompareCallback(LPARAM first, LPARAM second, LPARAM page) {
    return CallbackBarrier(0, [=] {
        const CRefPtr<CCookieDomain> one(reinterpret_cast<CCookieDomain*>(first));
        const CRefPtr<CCookieDomain> two(reinterpret_cast<CCookieDomain*>(second));
        return reinterpret_cast<const CCookieBaseDlg*>(page)->CompareRows(*one, *two);
    });
}

int CCookieBaseDlg::FindInsertPosition(CCookieDomain& domain) const {
    const int count = GetRowCount();
    // The first row the new domain does not sort after. Names never change, so while the
    // key is the name the rows are in order and a binary search finds the row the scan would.
    if (sortColumn == 0) {
        int low = 0;
        int high = count;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            const CRefPtr<CCookieDomain> row = GetRowDomain(middle);
            if (CompareRows(domain, *row) <= 0) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        return low;
    }
    // Times, kinds and counts may change while the rows stand still: scan.
    for (int index = 0; index < count; ++index) {
        const CRefPtr<CCookieDomain> row = GetRowDomain(index);
        if (CompareRows(domain, *row) <= 0) {
            return index;
        }
    }
    return count;
}

int CCookieBaseDlg::FindRow(CCookieDomain& domain) const {
    if (sortColumn == 0) {
        // Rows of equal name follow each other from where the domain would be inserted.
        const int count = GetRowCount();
        for (int index = FindInsertPosition(domain); index < count; ++index) {
            const CRefPtr<CCookieDomain> row = GetRowDomain(index);
            if (row.Get() == &domain) {
                return index;
            }
            if (CompareRows(domain, *row) != 0) {
                break;
            }
        }
        return -1;
    }
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(&domain);
    return static_cast<int>(::SendMessageW(listView, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(&find)));
}

void CCookieBaseDlg::SetCell(int index, int column, const std::wstring& text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(listView, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

std::wstring CCookieBaseDlg::GetCell(int index, int column) const {
    std::wstring text(256, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<std::size_t>(
            ::SendMessageW(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(&item)));
        // A text that fills the buffer may have been cut short.
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

long CCookieBaseDlg::GetShownCount(int index) const {
    return std::wcstol(GetCell(index, countColumn).c_str(), nullptr, 10);
}
