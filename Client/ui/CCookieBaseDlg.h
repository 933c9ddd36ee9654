#pragma once

#include "cookies/CCookieDomain.h"
#include "cookies/CDomainService.h"
#include "cookies/RefCount.h"
#include "framework/PropertyPageImpl.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

// What both cookie pages share: a checked list of domains, one row per domain, kept in sorted
// position; the bold count label above it; Check All, Check None and Delete; and the help
// page. Domains offered before the sheet has made the page's window wait in a queue.
class CCookieBaseDlg : public CPropertyPageImpl {
public:
    CCookieBaseDlg(UINT templateId, CDomainService& service) noexcept;

    // For every domain that belongs on this page. A domain the page already lists or queues
    // is ignored, so it never shows or counts twice.
    void AddOrQueueDomain(const CRefPtr<CCookieDomain>& domain);

    // A further cookie was added to `domain`: refreshes its row's Type and Count, if it has a
    // row. The times and the row's place stay.
    void UpdateDomain(const CRefPtr<CCookieDomain>& domain);

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;
    void ShowHelp() override;

    // Adds a row in sorted position.
    virtual void AddDomain(const CRefPtr<CCookieDomain>& domain);
    virtual UINT GetCountStringId() const = 0;

    void RemoveRow(int index);
    void RemoveAllRows();
    // Ascending.
    std::vector<int> GetCheckedRows() const;
    void RefreshCountLabel();
    // Holds the drawing of the list and the label for a moment while rows change.
    void HoldDrawing();

    int GetRowCount() const;
    // The row's domain, with a reference of its own.
    CRefPtr<CCookieDomain> GetRowDomain(int index) const;
    std::uint16_t GetCookieTotal() const noexcept { return cookieTotal; }
    CDomainService& GetManager() const noexcept { return manager; }

private:
    void SetUpPage();
    void SetUpColumns();
    void SetUpImageList();
    void CreateCountLabel();
    void SetAllChecks(UINT stateImage);
    void DeleteChecked();
    void SortByColumn(int column);
    void DrawCountLabel(const DRAWITEMSTRUCT& item) const;
    void ReleaseDrawing();
    void RepaintCountLabel();

    int CompareRows(CCookieDomain& first, CCookieDomain& second) const;
    static int CALLBACK CompareCallback(LPARAM first, LPARAM second, LPARAM page);
    int FindInsertPosition(CCookieDomain& domain) const;
    int FindRow(CCookieDomain& domain) const;

    void SetCell(int index, int column, const std::wstring& text);
    std::wstring GetCell(int index, int column) const;
    // The count the row shows, which is what the row has added to the total.
    long GetShownCount(int index) const;

    // The cookie manager, as the windows see it.
    CDomainService& manager;
    std::uint16_t cookieTotal = 0;
    HWND listView = nullptr;
    CDomainList pendingDomains;
    HWND countLabel = nullptr;
    int sortColumn = 0;
    bool sortForward = true;
    bool drawingHeld = false;
    // The domains that have a row: each has at most one.
    std::unordered_set<CCookieDomain*> listedDomains;
};
