#pragma once

#include "cookies/CDomainService.h"
#include "framework/AnchoredLayout.h"
#include "framework/DpiFont.h"
#include "framework/KeyCommand.h"
#include "framework/PropertySheetImpl.h"
#include "ui/CAllowedDlg.h"
#include "ui/CHeldBrowsersButton.h"
#include "ui/CNoticeRow.h"
#include "ui/CToReviewDlg.h"
#include "ui/WindowIcons.h"

#include <windows.h>

#include <optional>
#include <string>
#include <unordered_map>

// The program's window: a resizable sheet with the "Not Authorized" and "Authorized" pages,
// one Close button where Cancel stood, Help, the added "&About", "Cookie &News" and
// "&Refresh" buttons and a status line that sums up the load; above them a row that tells what
// the load left out, with a button for it when there is something to do. It hears of domains
// from the manager and hands each to the page of its authorized state.
class CMainDlg final : public CPropertySheetImpl {
public:
    // Browsers that `closer` closes on the user's word are opened again when the closer goes,
    // if the user has not reopened them before.
    CMainDlg(CDomainService& service, const CWindowIcons& icons, CBrowserCloser& closer);

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;
    void OnSheetInitialized() override;

private:
    void MakeResizable();
    SIZE MinimumSize() const;
    void ReworkButtons();
    // Widens the window until the status line holds its widest summary at every scale.
    void MakeRoomForStatus();
    HWND AddControl(const wchar_t* className, UINT textId, DWORD style, int id, const RECT& rect);
    void SetUpLayout();
    void OnSheetShown();
    void LayOut();
    // Shows the notice row's button with `label`, or hides it for an empty one; the notice
    // line leaves it its room.
    void ShowNoticeButton(const std::wstring& label);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void RouteDomain(UINT message, const CRefPtr<CCookieDomain>& domain);
    // The page the domain belongs on now.
    CCookieBaseDlg& PageOf(CCookieDomain& domain);
    // Keeps the domain's mark with the manager until the load ends, so that its further
    // cookies post nothing: the window reads it at every tick instead.
    void CollectChange(const CRefPtr<CCookieDomain>& domain);
    // Shows what each collected domain holds now.
    void ReadChanges();
    // Once every cookie of the load is in: gives the marks of the collected domains back, then
    // shows what each holds.
    void TakeChanges();
    void DropChanges();
    void Refresh();
    // Releases the domain messages still queued: at a Refresh they belong to the load before,
    // and once the window is gone nobody else would.
    void DropQueuedDomainMessages(HWND window);
    // The status and notice lines, the timer while a load runs, and F5 once it has ended.
    void ShowStatus();
    void ListenForRefreshKey(bool listen);

    CDomainService& m_service;
    const CWindowIcons& m_icons;
    CHeldBrowsersButton m_heldBrowsers;
    CAllowedDlg m_allowedPage;
    CToReviewDlg m_toReviewPage;
    std::wstring m_caption;
    HWND m_aboutButton = nullptr;
    HWND m_newsButton = nullptr;
    HWND m_refreshButton = nullptr;
    HWND m_statusLine = nullptr;
    CNoticeRow m_noticeRow;
    CAnchoredLayout m_layout;
    // The font of the controls made here.
    CDpiFont m_font;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    // What the window was widened by for the status line, at the DPI it was set up at.
    LONG m_statusRoom = 0;
    UINT m_homeDpi = USER_DEFAULT_SCREEN_DPI;
    bool m_restoreMaximized = false;
    // Until the first page stands where the sheet put it, the layout waits: the sheet sizes
    // the page from the tab control as it finds it.
    bool m_pageShown = false;
    std::optional<CKeyCommand> m_refreshKey;
    // The domains announced during this load, each with a reference of its own.
    std::unordered_map<const CCookieDomain*, CRefPtr<CCookieDomain>> m_changed;
    ULONGLONG m_lastRead = 0;
    bool m_ticking = false;
};
