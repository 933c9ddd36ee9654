#pragma once

#include "framework/SubclassedWindow.h"

#include <windows.h>

#include <string>

// A control whose text changes far more often than it can be shown, such as a count while
// thousands of rows arrive. Everyone who asks the control for its text (WM_GETTEXT, as
// screen readers and GetWindowText in this process do) gets the newest at once. The
// control's own copy, which costs a trip to the window manager and a repaint, is written only
// by Store: under Wine each write is a server round trip that the loading thread waits for.
class CLiveText final : public CSubclassedWindow {
public:
    void SetText(std::wstring text);
    const std::wstring& GetText() const noexcept { return m_text; }
    // Makes the control's own copy the newest text; nothing when it is already.
    void Store();

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;
    // A control made again starts without the text.
    void OnFinalMessage() override { m_stored = false; }

private:
    std::wstring m_text;
    bool m_stored = false;
};
