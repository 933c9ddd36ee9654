#pragma once

#include "framework/DialogImpl.h"

#include <windows.h>

// A modal dialog run from its template. At WM_INITDIALOG it centres itself (if asked to)
// over its owner, or in the work area when there is none or the owner is hidden or
// minimized, and answers TRUE; a WM_COMMAND from IDOK to IDNO ends it with that id.
//
// A derived dialog overrides ProcessWindowMessage, handles its messages first and, where the
// base should carry on with the same message (WM_INITDIALOG, the closing commands), ends with
// `return CSimpleDialogBase::ProcessWindowMessage(...)`.
class CSimpleDialogBase : public CDialogImplBase {
public:
    // The result of DialogBoxParamW: the id the dialog was ended with, -1 on failure.
    INT_PTR DoModal(HWND owner = ::GetActiveWindow());

protected:
    CSimpleDialogBase(UINT templateId, bool centre) noexcept
        : m_templateId(templateId), m_centre(centre) {}

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

private:
    const UINT m_templateId;
    const bool m_centre;
};

// The dialog of template `TemplateId`, e.g. CSimpleDialog<100, TRUE>.
template <UINT TemplateId, BOOL Centre = TRUE>
class CSimpleDialog : public CSimpleDialogBase {
public:
    CSimpleDialog() noexcept : CSimpleDialogBase(TemplateId, Centre != FALSE) {}
};

// Centres a top-level window over its owner, or in the work area of its monitor when it has
// no usable owner, keeping it inside that work area.
void CentreWindow(HWND window) noexcept;
