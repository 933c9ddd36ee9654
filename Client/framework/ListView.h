#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

// A thin wrapper over a report-style list view that a dialog template made: it speaks the
// control's messages and owns nothing. Each row carries one LPARAM of the owner's choosing.
class CListView {
public:
    // Compares two rows by their LPARAMs: negative when the first sorts above the second.
    using CCompare = std::function<int(LPARAM first, LPARAM second)>;

    void Attach(HWND window) noexcept { m_hWnd = window; }
    void Detach() noexcept { m_hWnd = nullptr; }
    // Null while detached; every query then answers as for an empty list.
    HWND GetHwnd() const noexcept { return m_hWnd; }

    void AddExtendedStyles(DWORD styles) noexcept;
    // The column is inserted as wide as its header text plus a margin, then set to `width`.
    void InsertColumn(int index, const std::wstring& header, int format, int width);
    // The list owns the image list from then on and frees it with itself; one it replaces is
    // freed at once.
    void SetSmallImageList(HIMAGELIST images) noexcept;

    int GetItemCount() const noexcept;
    // The index the list actually used, or -1.
    int InsertItem(int index, const std::wstring& text, LPARAM param);
    void SetItemText(int index, int column, const std::wstring& text);
    std::wstring GetItemText(int index, int column) const;
    // 0 when there is no such row.
    LPARAM GetItemParam(int index) const noexcept;
    // False when the row is still there.
    bool DeleteItem(int index) noexcept;

    // The row that carries `param`, or -1.
    int FindItem(LPARAM param) const noexcept;
    // In rows ordered so that `before` holds for a leading run of them: the first row for
    // which it does not (the item count when it holds for all).
    int FindPartitionPoint(const std::function<bool(LPARAM)>& before) const;

    bool IsChecked(int index) const noexcept;
    void SetCheck(int index, bool checked) noexcept;
    // Ascending.
    std::vector<int> GetCheckedItems() const;

    void SortItems(const CCompare& compare);

private:
    static int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM compare);

    HWND m_hWnd = nullptr;
};
