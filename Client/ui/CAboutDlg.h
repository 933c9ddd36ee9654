#pragma once

#include "framework/HyperLink.h"
#include "framework/SimpleDialog.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "ui/WindowIcons.h"

// The About box: product name, version, the web site as a link (in command mode: the box
// opens the site itself) and the 48-pixel product icon.
class CAboutDlg final : public CSimpleDialog<IDD_ABOUT, TRUE> {
public:
    explicit CAboutDlg(const CWindowIcons& icons) noexcept : m_icons(icons) {}

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

private:
    void OnInitDialog(HWND window);
    static void ShowVersion(HWND window);

    const CWindowIcons& m_icons;
    CHyperLink m_hyperLink;
    CIconHandle m_hIcon;
};
