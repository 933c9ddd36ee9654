#pragma once

#include "cookies/CCookieDomain.h"
#include "cookies/CDomainService.h"
#include "cookies/RefCount.h"
#include "framework/AnchoredLayout.h"
#include "framework/DpiFont.h"
#include "framework/ListView.h"
#include "framework/LiveText.h"
#include "framework/PropertyPageImpl.h"
#include "framework/RedrawThrottle.h"
#include "framework/ReturnKeyWanted.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// What both cookie pages share: a checked list of domains, one row per domain, kept in sorted
// position; the bold count label above it; Check All, Check None and Delete; and the help
// page. Domains offered before the sheet has made the page's window wait in a queue.
class CCookieBaseDlg : public CPropertyPageImpl {
public:
    CCookieBaseDlg(UINT templateId, CDomainService& service) noexcept;

    // For every domain that belongs on this page. A domain the page already lists only has
    // its row brought up to date and one it queues is ignored, so none shows or counts twice.
    void AddOrQueueDomain(const CRefPtr<CCookieDomain>& domain);

    // A further cookie was added to `domain`: refreshes its row's cells, if it has a row; the
    // row's place stays. One without a row is offered to ChangedWithoutRow.
    void UpdateDomain(const CRefPtr<CCookieDomain>& domain);

    // Before a new load: every row and every queued domain goes, with its check mark.
    void DropAllDomains();

    // The DPI of the sheet the page is on: its columns, row icon, bold font and layout follow
    // it now, or from when the page makes its window. Untold, the page takes its window's.
    void SetDpi(UINT dpi);

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;
    void ShowHelp() override;

    // Adds a row in sorted position.
    virtual void AddDomain(const CRefPtr<CCookieDomain>& domain);
    // A domain of this page without a row has changed; a page that leaves some out may want
    // it now.
    virtual void ChangedWithoutRow(const CRefPtr<CCookieDomain>&) {}
    virtual UINT GetCountStringId() const = 0;

    void RemoveRow(int index);
    void RemoveAllRows();
    // The rows of these domains, those still listed.
    void RemoveRows(const CDomainList& domains);
    // The domains ticked now, from the highest row to the lowest; with nothing ticked none,
    // after showing the text `nothingChecked`.
    CDomainList TakeChecked(UINT nothingChecked) const;
    // Runs `act` on the domains ticked now, from the highest row to the lowest, and removes
    // each one's row when it succeeds; stops at the first failure. The domains are taken
    // before the first call, so rows that come or go meanwhile (`act` may run a message loop)
    // change nothing.
    void ActOnChecked(UINT nothingChecked,
                      const std::function<bool(const CRefPtr<CCookieDomain>&)>& act);

    int GetRowCount() const noexcept { return static_cast<int>(m_rows.size()); }
    // The row's domain, with a reference of its own.
    CRefPtr<CCookieDomain> GetRowDomain(int index) const;
    std::size_t GetCookieTotal() const noexcept { return m_cookieTotal; }
    CDomainService& GetService() const noexcept { return m_service; }

private:
    void SetUpPage();
    void SetUpColumns();
    void SetUpImageList();
    void SetUpLayout(UINT templateDpi);
    void ApplyDpi(UINT dpi);
    // The Type column shows its widest text whole, up to a third of the list's width; it is
    // never narrowed, so a column the user dragged wider stays so.
    void FitTypeColumn(std::uint32_t kinds);
    void WidenTypeColumn();
    void CreateCountLabel();
    void RefreshCountLabel();
    void RepaintCountLabel();
    void DrawCountLabel(const DRAWITEMSTRUCT& item) const;
    void SetAllChecks(bool checked);
    // Deletes the domains ticked now, from the highest row to the lowest, in one batch, and
    // stops at the first failure; their rows go once the batch has made the deletes last.
    void DeleteChecked();
    void SortByColumn(int column);
    // Enter or a double-click on a row: the details of its domain, read now.
    void ShowDetails(int index);

    int CompareRows(CCookieDomain& first, CCookieDomain& second) const;
    int FindInsertPosition(CCookieDomain& domain) const;
    int FindRow(CCookieDomain& domain) const;
    // After the list has ordered its rows itself.
    void ReadRowOrder();

    CDomainService& m_service;
    // Today's browsers keep far more cookies than a 16-bit total could count.
    std::size_t m_cookieTotal = 0;
    // Each row's item data is its domain, holding one reference for the row.
    CListView m_list;
    CDomainList m_pendingDomains;
    // Owner-drawn in bold; its text is the count as the label says it.
    CLiveText m_countLabel;
    int m_sortColumn = 0;
    bool m_sortForward = true;
    CRedrawThrottle m_drawing;
    CReturnKeyWanted m_listKeys;
    // What a row shows of its domain. The count is what the row has added to the total.
    struct CShown {
        std::size_t count = 0;
        std::uint32_t kinds = 0;
        std::uint64_t lastUsed = 0;
        std::uint64_t created = 0;
        bool operator==(const CShown&) const = default;
    };
    static CShown ReadShown(CCookieDomain& domain);
    // The domains that have a row (each has at most one), and the rows' domains in the list's
    // order. Kept beside the list because under Wine every message to it costs far more than
    // reading these, and a load asks for rows thousands of times.
    std::unordered_map<CCookieDomain*, CShown> m_listedDomains;
    std::vector<CCookieDomain*> m_rows;
    CAnchoredLayout m_layout;
    CDpiFont m_boldFont;
    UINT m_dpi = 0;
    // The kinds whose Type text the column has been measured for at this DPI, and what the
    // widest of them needs.
    std::unordered_set<std::uint32_t> m_fittedKinds;
    int m_typeWidth = 0;
};
