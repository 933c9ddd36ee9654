#pragma once

#include "framework/SimpleDialog.h"
#include "res/resource.h"
#include "ui/WindowIcons.h"

// The "Install Successful!" dialog shown after "-r": how to start the program, and a check box
// (ticked at first) that opens the getting-started page when the user presses OK.
class CTransitionDlg final : public CSimpleDialog<IDD_INSTALLED, TRUE> {
public:
    explicit CTransitionDlg(const CWindowIcons& icons) noexcept : m_icons(icons) {}

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

private:
    const CWindowIcons& m_icons;
};
