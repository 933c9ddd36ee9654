#pragma once

#include "cookies/CCookieDescription.h"
#include "framework/AnchoredLayout.h"
#include "framework/ListView.h"
#include "framework/SimpleDialog.h"
#include "res/resource.h"

#include <windows.h>

#include <string>
#include <vector>

// Every cookie of one site, one row each: Browser, Name, Host, Path, Expires, Last Used,
// Created, Location, times in the user's time zone and format. Modal, resizable down to its
// template's size and following DPI changes; columns fit their texts. A header click sorts by
// that column (again: the other way); Ctrl+C copies the selected rows as shown, tab-separated.
// Values are never shown.
// Below the list, a note says why a store could not be read for some rows; it is hidden when
// every row is the store's own.
class CDetailsDlg final : public CSimpleDialog<IDD_DETAILS, TRUE> {
public:
    CDetailsDlg(std::wstring site, CCookieDescriptions cookies);

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

private:
    void OnInitDialog(HWND window);
    SIZE MinimumSize() const;
    void Layout();
    void FitColumns();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void SortByColumn(int column);
    // The selected rows' texts in the order shown, tab-separated, each line ended by CR LF.
    std::wstring SelectedRowsText() const;
    void CopySelectedRows() const;
    std::wstring CellText(std::size_t row, int column) const;

    const std::wstring m_site;
    const CCookieDescriptions m_cookies;
    // Each row's problem once, in the order of the rows; empty when there is none.
    std::wstring m_note;
    // The texts of every row and column, made once.
    std::vector<std::vector<std::wstring>> m_texts;
    CListView m_list;
    CAnchoredLayout m_layout;
    int m_sortColumn = -1;
    bool m_sortForward = true;
};
