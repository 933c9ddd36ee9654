#pragma once

#include "cookies/CCookieDomain.h"
#include "cookies/CDomainService.h"
#include "cookies/CRestartManager.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The cookie manager as the windows see it. Authorizing marks the domain and posts
// WM_DOMAIN_AUTHORIZED to the registered window, and deleting drops the domain from the list,
// as the real one does; a call for the domain named in failOn fails (the real manager would
// show its own message). `beforeChange` runs at the start of every authorization and deletion.
class CFakeDomainService : public CDomainService {
public:
    void RegisterWindow(HWND window, CDomainList& domains) override;
    void UnregisterWindow(HWND window) override;
    void DomainMessageTaken(HWND, const CCookieDomain&) override {}
    bool Refresh() override { return false; }
    CLoadProgress GetLoadProgress() override { return progress; }
    void GetDomains(CDomainList& domains) override;
    bool AuthorizeDomain(const CRefPtr<CCookieDomain>& domain) override;
    bool DeleteDomain(const CRefPtr<CCookieDomain>& domain) override;
    void BeginDeleteBatch() override;
    bool EndDeleteBatch() noexcept override;
    // One description per cookie, from its record; the names asked for are kept.
    void DescribeDomain(const CRefPtr<CCookieDomain>& domain,
                        CCookieDescriptions& descriptions) override;

    CDomainList domains;
    CLoadProgress progress;
    std::wstring failOn;
    std::function<void(const CRefPtr<CCookieDomain>&)> beforeChange;
    std::vector<std::wstring> authorized;
    std::vector<std::wstring> deleted;
    // Batches begun and ended, and the sites deleted outside any batch.
    int batchesBegun = 0;
    int batchesEnded = 0;
    // Whether ending a batch says its deletes lasted.
    bool batchLasts = true;
    std::vector<std::wstring> deletedAlone;
    std::vector<std::wstring> described;
    // What DescribeDomain answers; empty: one record per cookie of the domain.
    CCookieDescriptions descriptions;
    int domainCopies = 0;
    HWND window = nullptr;
};

// Every page test closes its window and drops its domains; then no record may be left alive.
class CPageTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CFakeDomainService service;

private:
    LONG m_live = 0;
};

// Runs the program's main window over `service`. The script runs inside the window's modal
// loop once the first page is up, with the sheet's window; then the window closes.
// The notice row's button closes browsers through `restart`, a double.
void RunMainWindow(CFakeDomainService& service, const std::function<void(HWND sheet)>& script);
void RunMainWindow(CFakeDomainService& service, const std::function<void(HWND sheet)>& script,
                   CRestartManager& restart);
// This process's visible dialog or message box with the caption, waited for (null if none
// comes up).
HWND WaitForOwnDialog(const wchar_t* caption);

// The pages of a running main window; null for a page the sheet has not made yet.
HWND ToReviewPage(HWND sheet);
HWND AllowedPage(HWND sheet);

// A domain whose cookies were created `createdAgo` and last used `usedAgo` before now (in
// minutes; a negative age lies in the future). kinds: 1 browser, 2 Flash, 3 both.
CRefPtr<CCookieDomain> MakeDomain(const std::wstring& name, unsigned cookies, std::int64_t usedAgo,
                                  std::int64_t createdAgo, std::uint32_t kinds = 1);
// The same with no times at all.
CRefPtr<CCookieDomain> MakeTimelessDomain(const std::wstring& name);
void AddCookie(const CRefPtr<CCookieDomain>& domain, std::uint32_t kind, std::int64_t usedAgo);

// Posts a domain message carrying its own reference, as the manager does, and lets it arrive.
void PostDomain(HWND sheet, UINT message, const CRefPtr<CCookieDomain>& domain);
void Pump();

HWND ListOf(HWND page);
std::vector<std::vector<std::wstring>> ReadRows(HWND page);
std::vector<std::wstring> ReadColumn(HWND page, int column);
std::wstring CountLabelText(HWND page);
bool IsChecked(HWND page, int row);
// As the user does it: focus the row and press Space.
void ToggleCheck(HWND page, int row);
void ClickButton(HWND page, int id);
void ClickColumn(HWND page, int column);
// A click on a list view's column header, sent to the header as the mouse would.
void ClickHeader(HWND list, int column);
// Picks a filter entry as the user would, so the page hears CBN_SELCHANGE.
void PickFilter(HWND page, int position);
