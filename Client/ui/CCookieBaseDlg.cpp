#include "ui/CCookieBaseDlg.h"

#include "app/WebPages.h"
#include "cookies/CDeleteBatch.h"
#include "cookies/FileTime.h"
#include "framework/ChildRect.h"
#include "framework/Dpi.h"
#include "framework/WindowText.h"
#include "res/resource.h"
#include "ui/AgeText.h"
#include "ui/CDetailsDlg.h"
#include "ui/PageColumns.h"
#include "ui/ShowMessage.h"
#include "res/StringLoader.h"
#include "ui/WaitCursor.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <unordered_set>

namespace {

// How long the list's drawing may be held while rows come and go.
constexpr UINT drawingDelay = 250;

std::wstring CountText(std::size_t count) {
    return FormatString(L"%u", static_cast<unsigned>(count));
}

} // namespace

CCookieBaseDlg::CCookieBaseDlg(UINT templateId, CDomainService& service) noexcept
    : CPropertyPageImpl(templateId), m_service(service), m_drawing(drawingDelay) {}

void CCookieBaseDlg::AddOrQueueDomain(const CRefPtr<CCookieDomain>& domain) {
    if (m_list.GetHwnd() == nullptr) {
        const bool queued =
            std::any_of(m_pendingDomains.begin(), m_pendingDomains.end(),
                        [&](const CRefPtr<CCookieDomain>& d) { return d.Get() == domain.Get(); });
        if (!queued) {
            m_pendingDomains.push_back(domain);
        }
        return;
    }
    if (m_listedDomains.count(domain.Get()) == 0) {
        AddDomain(domain);
    } else {
        // Listed already (from the window's first copy): cookies found since are shown now.
        UpdateDomain(domain);
    }
}

void CCookieBaseDlg::DropAllDomains() {
    m_pendingDomains.clear();
    RemoveAllRows();
}

void CCookieBaseDlg::AddDomain(const CRefPtr<CCookieDomain>& domain) {
    const CShown shown = ReadShown(*domain);
    const int position = FindInsertPosition(*domain);
    m_drawing.Hold();
    const int index =
        m_list.InsertItem(position, domain->GetName(), reinterpret_cast<LPARAM>(domain.Get()));
    if (index < 0) {
        return;
    }
    // The row's own reference, released by RemoveRow.
    domain->AddRef();
    m_listedDomains.emplace(domain.Get(), shown);
    m_rows.insert(m_rows.begin() + index, domain.Get());

    m_list.SetItemText(index, 1, FormatAgeText(ToFileTime(shown.lastUsed)));
    m_list.SetItemText(index, 2, FormatAgeText(ToFileTime(shown.created)));
    m_list.SetItemText(index, TypeColumn, TypeTextForKinds(shown.kinds));
    FitTypeColumn(shown.kinds);
    m_list.SetItemText(index, CountColumn, CountText(shown.count));
    m_cookieTotal += shown.count;
    RefreshCountLabel();
    m_drawing.Changed();
}

// Every cell that no longer matches its domain is written again: a site's later cookies, from
// another store, often change its times as well as its count and type.
void CCookieBaseDlg::UpdateDomain(const CRefPtr<CCookieDomain>& domain) {
    if (m_list.GetHwnd() == nullptr) {
        return;
    }
    const auto listed = m_listedDomains.find(domain.Get());
    if (listed == m_listedDomains.end()) {
        // A message that arrives after the site's delete brings back no row.
        if (!domain->IsDeleted()) {
            ChangedWithoutRow(domain);
        }
        return;
    }
    const CShown now = ReadShown(*domain);
    CShown& shown = listed->second;
    if (now == shown) {
        return;
    }
    const int index = FindRow(*domain);
    if (index < 0) {
        return;
    }
    m_drawing.Hold();
    if (now.count != shown.count) {
        m_cookieTotal = m_cookieTotal - shown.count + now.count;
        RefreshCountLabel();
        m_list.SetItemText(index, CountColumn, CountText(now.count));
    }
    if (now.kinds != shown.kinds) {
        m_list.SetItemText(index, TypeColumn, TypeTextForKinds(now.kinds));
        FitTypeColumn(now.kinds);
    }
    if (now.lastUsed != shown.lastUsed) {
        m_list.SetItemText(index, 1, FormatAgeText(ToFileTime(now.lastUsed)));
    }
    if (now.created != shown.created) {
        m_list.SetItemText(index, 2, FormatAgeText(ToFileTime(now.created)));
    }
    shown = now;
    m_drawing.Changed();
}

CCookieBaseDlg::CShown CCookieBaseDlg::ReadShown(CCookieDomain& domain) {
    return {domain.GetCookieCount(), domain.GetKinds(), ToUInt64(domain.GetLastUsed()),
            ToUInt64(domain.GetCreated())};
}

void CCookieBaseDlg::RemoveRow(int index) {
    const CRefPtr<CCookieDomain> domain = GetRowDomain(index);
    if (!domain) {
        return;
    }
    const auto listed = m_listedDomains.find(domain.Get());
    m_drawing.Hold();
    // A row the list kept still carries its domain: its reference stays with it.
    if (!m_list.DeleteItem(index)) {
        m_drawing.Changed();
        return;
    }
    m_rows.erase(m_rows.begin() + index);
    m_cookieTotal -= listed->second.count;
    m_listedDomains.erase(listed);
    RefreshCountLabel();
    m_drawing.Changed();
    domain->Release();
}

void CCookieBaseDlg::RemoveAllRows() {
    for (int index = GetRowCount() - 1; index >= 0; --index) {
        RemoveRow(index);
    }
}

CDomainList CCookieBaseDlg::TakeChecked(UINT nothingChecked) const {
    const std::vector<int> rows = m_list.GetCheckedItems();
    if (rows.empty()) {
        ShowMessage(LoadExpandedString(nothingChecked), MB_OK | MB_ICONINFORMATION);
    }
    CDomainList checked;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        checked.push_back(GetRowDomain(*row));
    }
    return checked;
}

void CCookieBaseDlg::ActOnChecked(UINT nothingChecked,
                                  const std::function<bool(const CRefPtr<CCookieDomain>&)>& act) {
    const CDomainList checked = TakeChecked(nothingChecked);
    const CWaitCursor wait;
    for (const CRefPtr<CCookieDomain>& domain : checked) {
        if (!act(domain)) {
            return;
        }
        RemoveRows({domain});
    }
}

void CCookieBaseDlg::DeleteChecked() {
    const CDomainList checked = TakeChecked(IDS_CHECK_TO_DELETE);
    if (checked.empty()) {
        return;
    }
    const CWaitCursor wait;
    CDomainList deleted;
    CDeleteBatch batch(m_service);
    for (const CRefPtr<CCookieDomain>& domain : checked) {
        if (!m_service.DeleteDomain(domain)) {
            break;
        }
        deleted.push_back(domain);
    }
    // The rows go once the deletes last; when they did not, the failure has been shown.
    if (batch.End()) {
        RemoveRows(deleted);
    }
}

void CCookieBaseDlg::RemoveRows(const CDomainList& domains) {
    // Found now, in one pass: rows may have come or gone meanwhile (a message box runs a
    // message loop).
    std::unordered_set<const CCookieDomain*> gone;
    for (const CRefPtr<CCookieDomain>& domain : domains) {
        gone.insert(domain.Get());
    }
    for (int index = GetRowCount() - 1; index >= 0 && !gone.empty(); --index) {
        if (gone.erase(m_rows[static_cast<std::size_t>(index)]) != 0) {
            RemoveRow(index);
        }
    }
}

CRefPtr<CCookieDomain> CCookieBaseDlg::GetRowDomain(int index) const {
    if (index < 0 || index >= GetRowCount()) {
        return CRefPtr<CCookieDomain>();
    }
    return CRefPtr<CCookieDomain>(m_rows[static_cast<std::size_t>(index)]);
}

void CCookieBaseDlg::RefreshCountLabel() {
    m_countLabel.SetText(FormatString(LoadExpandedString(GetCountStringId()).c_str(),
                                      static_cast<unsigned>(m_cookieTotal)));
    if (!m_drawing.IsHeld()) {
        RepaintCountLabel();
    }
}

void CCookieBaseDlg::RepaintCountLabel() {
    m_countLabel.Store();
    const RECT rect = ChildRect(m_hWnd, m_countLabel.GetHwnd());
    ::InvalidateRect(m_hWnd, &rect, TRUE);
    // The label and the page behind it repaint now; the list keeps its own turn.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    ::UpdateWindow(m_countLabel.GetHwnd());
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
            SetAllChecks(true);
            break;
        case IDC_CHECK_NONE:
            SetAllChecks(false);
            break;
        case IDC_DELETE:
            DeleteChecked();
            break;
        default:
            return CPropertyPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
        }
        result = 0;
        return true;
    case WM_DESTROY:
        RemoveAllRows();
        m_drawing.Detach();
        // The controls go with the page: from now on offered domains queue again.
        m_list.Detach();
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
        // The Delete key in the list is the Delete button.
        if (header->code == LVN_KEYDOWN &&
            reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) {
            ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_DELETE)));
            result = 0;
            return true;
        }
        // The Enter key matters only while the list has the focus. Under Wine every message to
        // a subclassed window asks the server for the subclass chain, and a load sends the
        // list thousands.
        if (header->idFrom == IDC_COOKIE_LIST && header->code == NM_SETFOCUS) {
            m_listKeys.SubclassWindow(header->hwndFrom);
        } else if (header->idFrom == IDC_COOKIE_LIST && header->code == NM_KILLFOCUS) {
            m_listKeys.UnsubclassWindow();
        }
        if (header->idFrom == IDC_COOKIE_LIST &&
            (header->code == NM_DBLCLK || header->code == NM_RETURN)) {
            ShowDetails(header->code == NM_DBLCLK
                            ? reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem
                            : ListView_GetNextItem(m_list.GetHwnd(), -1, LVNI_FOCUSED));
            result = 0;
            return true;
        }
        break;
    }
    case WM_SIZE:
        m_layout.Apply(LOWORD(lParam), HIWORD(lParam));
        WidenTypeColumn();
        result = 0;
        return true;
    default:
        break;
    }
    return CPropertyPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
}

void CCookieBaseDlg::SetUpPage() {
    m_list.Attach(::GetDlgItem(m_hWnd, IDC_COOKIE_LIST));
    // Screen readers name the list by its own text, which it never draws: the page's caption.
    ::SetWindowTextW(m_list.GetHwnd(), GetWindowString(m_hWnd).c_str());
    m_list.AddExtendedStyles(LVS_EX_CHECKBOXES | LVS_EX_FLATSB | LVS_EX_LABELTIP);
    // The dialog manager made the page and its font for this DPI; the sheet may be at another.
    const UINT templateDpi = WindowDpi(m_hWnd);
    if (m_dpi == 0) {
        m_dpi = templateDpi;
    }
    SetUpColumns();
    CreateCountLabel();
    m_boldFont.SetModel(reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)),
                        templateDpi, FW_BOLD);
    SetUpLayout(templateDpi);
    ApplyDpi(m_dpi);
    // Under Wine every inserted or deleted row redraws the list's scroll bar at once, and
    // every change of a row or of the label repaints it: a load of thousands of cookies
    // would spend nearly all its time drawing.
    m_drawing.Attach({m_list.GetHwnd(), m_countLabel.GetHwnd()}, [this] { RepaintCountLabel(); });
    RefreshCountLabel();

    // Through the virtual AddDomain, so a page that filters filters these too.
    CDomainList queued;
    queued.swap(m_pendingDomains);
    for (const CRefPtr<CCookieDomain>& domain : queued) {
        AddDomain(domain);
    }
}

void CCookieBaseDlg::CreateCountLabel() {
    const RECT rect = ChildRect(m_hWnd, ::GetDlgItem(m_hWnd, IDC_COUNT_FRAME));
    HWND label =
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, rect.left,
                          rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_COUNT_LABEL)),
                          ::GetModuleHandleW(nullptr), nullptr);
    m_countLabel.SubclassWindow(label);
}

void CCookieBaseDlg::SetAllChecks(bool checked) {
    const int count = GetRowCount();
    for (int index = 0; index < count; ++index) {
        m_list.SetCheck(index, checked);
    }
}

void CCookieBaseDlg::DrawCountLabel(const DRAWITEMSTRUCT& item) const {
    const std::wstring& text = m_countLabel.GetText();
    const HGDIOBJ previous = ::SelectObject(item.hDC, m_boldFont.Get());
    RECT rect = item.rcItem;
    ::DrawTextW(item.hDC, text.c_str(), -1, &rect, DT_RIGHT);
    ::SelectObject(item.hDC, previous);
}

void CCookieBaseDlg::ShowDetails(int index) {
    if (index < 0 || index >= GetRowCount()) {
        return;
    }
    const CRefPtr<CCookieDomain> domain = GetRowDomain(index);
    CCookieDescriptions cookies;
    m_service.DescribeDomain(domain, cookies);
    CDetailsDlg(domain->GetName(), std::move(cookies)).DoModal(::GetAncestor(m_hWnd, GA_ROOT));
}
