#include "framework/LiveText.h"

#include <algorithm>
#include <utility>

void CLiveText::SetText(std::wstring text) {
    if (text != m_text) {
        m_text = std::move(text);
        m_stored = false;
    }
}

void CLiveText::Store() {
    if (m_stored || m_hWnd == nullptr) {
        return;
    }
    ::SetWindowTextW(m_hWnd, m_text.c_str());
    m_stored = true;
}

bool CLiveText::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT& result) {
    switch (message) {
    case WM_GETTEXTLENGTH:
        result = static_cast<LRESULT>(m_text.size());
        return true;
    case WM_GETTEXT: {
        // As the system answers: as much as fits before the terminating null.
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        if (buffer == nullptr || wParam == 0) {
            result = 0;
            return true;
        }
        const std::size_t length = std::min<std::size_t>(m_text.size(), wParam - 1);
        std::copy_n(m_text.data(), length, buffer);
        buffer[length] = L'\0';
        result = static_cast<LRESULT>(length);
        return true;
    }
    default:
        return false;
    }
}
