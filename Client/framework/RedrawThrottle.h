#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// Holds the drawing of a few windows while they change in quick succession: the first change
// stops their drawing, and once the interval is over they are drawn once with every change.
// The texts themselves change at once; only the painting waits.
class CRedrawThrottle {
public:
    explicit CRedrawThrottle(UINT interval) noexcept : m_interval(interval) {}
    CRedrawThrottle(const CRedrawThrottle&) = delete;
    CRedrawThrottle& operator=(const CRedrawThrottle&) = delete;
    ~CRedrawThrottle() { Detach(); }

    // The windows held together; the first one carries the timer. `resumed` runs whenever
    // drawing comes back, for what must be repainted by hand.
    void Attach(std::vector<HWND> windows, std::function<void()> resumed);
    // Draws what is held, then forgets the windows.
    void Detach() noexcept;

    void Hold() noexcept;
    void Resume() noexcept;
    bool IsHeld() const noexcept { return m_held; }

private:
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

    const UINT m_interval;
    std::vector<HWND> m_windows;
    std::function<void()> m_resumed;
    bool m_held = false;
};
