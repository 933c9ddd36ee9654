#include "framework/RedrawThrottle.h"

#include "framework/CallbackBarrier.h"

#include <utility>

void CRedrawThrottle::Attach(std::vector<HWND> windows, std::function<void()> resumed) {
    Detach();
    m_windows = std::move(windows);
    m_resumed = std::move(resumed);
}

void CRedrawThrottle::Detach() noexcept {
    Resume();
    m_windows.clear();
    m_resumed = nullptr;
}

void CRedrawThrottle::Hold() noexcept {
    if (m_held || m_windows.empty()) {
        return;
    }
    for (HWND window : m_windows) {
        ::SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    }
    m_held = true;
    // The timer's id is the throttle itself, so the callback finds its way back.
    ::SetTimer(m_windows.front(), reinterpret_cast<UINT_PTR>(this), m_interval, OnTimer);
}

void CRedrawThrottle::Resume() noexcept {
    if (!m_held) {
        return;
    }
    ::KillTimer(m_windows.front(), reinterpret_cast<UINT_PTR>(this));
    m_held = false;
    // Drawing on again brings a list's scroll bars up to date and invalidates the window.
    for (HWND window : m_windows) {
        ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    }
    if (m_resumed) {
        CallbackBarrier(0, [this] {
            m_resumed();
            return 0;
        });
    }
}

void CALLBACK CRedrawThrottle::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    reinterpret_cast<CRedrawThrottle*>(id)->Resume();
}
