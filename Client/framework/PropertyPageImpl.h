#pragma once

#include "framework/DialogImpl.h"

#include <windows.h>

#include <commctrl.h>

// Base of a property page. Construct it with the page's dialog template; the descriptor asks
// for the page callback and for the sheet's Help button (PSP_USECALLBACK | PSP_HASHELP), and
// the tab shows the template's caption. A sheet makes the page's handle with Create() and the
// page's window when the page is first shown.
//
// Derived pages override ProcessWindowMessage (ending with this class's) and ShowHelp, which
// the sheet's Help button (PSN_HELP) calls. Every other PSN_ notification is accepted.
class CPropertyPageImpl : public CDialogImplBase {
public:
    explicit CPropertyPageImpl(UINT templateId) noexcept;

    // Null when the system cannot make the page.
    HPROPSHEETPAGE Create() noexcept;

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

    virtual void ShowHelp() {}

private:
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static UINT CALLBACK PageCallback(HWND window, UINT message, PROPSHEETPAGEW* page);

    PROPSHEETPAGEW m_psp{};
};
