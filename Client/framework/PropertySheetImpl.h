#pragma once

#include "framework/PropertyPageImpl.h"
#include "framework/SubclassedWindow.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

// Base of a modal property sheet. A derived constructor adds its flags and caption to
// m_psh and calls AddPage for each page (the page objects must outlive the sheet's run);
// DoModal then runs the sheet. As soon as the system has made the sheet window
// (PSCB_INITIALIZED, before the first page's WM_INITDIALOG) the window is subclassed, so
// ProcessWindowMessage sees the sheet's messages (unhandled ones get the sheet's own
// processing), and OnSheetInitialized runs once.
class CPropertySheetImpl : public CSubclassedWindow {
public:
    CPropertySheetImpl() noexcept;
    ~CPropertySheetImpl() override;

    // Makes the page's handle now. A page whose handle cannot be made is left out (false).
    bool AddPage(CPropertyPageImpl& page);

    // Runs the sheet; the owner becomes the header's parent unless one is set already.
    // Returns what PropertySheetW returns, or -1 when the sheet window could not be
    // subclassed: the sheet then closes at once, without OnSheetInitialized.
    INT_PTR DoModal(HWND owner);

protected:
    virtual void OnSheetInitialized() {}

    PROPSHEETHEADERW m_psh{};

private:
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);

    // Handles made but not yet given to a sheet; the sheet owns them once it runs.
    std::vector<HPROPSHEETPAGE> m_pages;
    // The sheet run that encloses this one on the same thread, if any.
    CPropertySheetImpl* m_enclosingRun = nullptr;
    bool m_subclassFailed = false;
};
