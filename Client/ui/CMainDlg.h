#pragma once

#include "cookies/CDomainService.h"
#include "framework/PropertySheetImpl.h"
#include "ui/CAllowedDlg.h"
#include "ui/CToReviewDlg.h"
#include "ui/WindowIcons.h"

#include <windows.h>

#include <string>

// The program's window: a sheet with the "Not Authorized" and "Authorized" pages, one Close
// button where Cancel stood, Help, and the added "&About" and "Cookie &News" buttons. It hears
// of domains from the manager and hands each to the page of its authorized state.
class CMainDlg final : public CPropertySheetImpl {
public:
    CMainDlg(CDomainService& service, const CWindowIcons& icons);

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;
    void OnSheetInitialized() override;

private:
    void ReworkButtons();
    // One of the added buttons: a child of the sheet, destroyed with it, and where it was made.
    struct CAddedButton {
        HWND window = nullptr;
        RECT home{};
    };

    CAddedButton AddButton(UINT textId, int id, const RECT& rect);
    void PlaceButtonsInTabOrder();
    void KeepButtonsAtBottom(int clientHeight);
    void RouteDomain(UINT message, const CRefPtr<CCookieDomain>& domain);
    static void ReleaseQueuedDomains(HWND window);

    CDomainService& m_service;
    const CWindowIcons& m_icons;
    CAllowedDlg m_allowedPage;
    CToReviewDlg m_toReviewPage;
    std::wstring m_caption;
    CAddedButton m_aboutButton;
    CAddedButton m_newsButton;
    SIZE m_initialClientSize{};
};
