#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// Holds the drawing of a few windows while they change in quick succession. A change after a
// quiet interval is drawn at once (the leading edge of a burst); one that follows it within
// the interval stops their drawing, and once the interval is over they are drawn once with
// every change. The texts themselves change at once; only the painting waits.
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

    // Before a change.
    void Hold() noexcept;
    // After it: draws it now if it leads a burst.
    void Changed() noexcept;
    void Resume() noexcept;
    bool IsHeld() const noexcept { return m_held; }

private:
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

    const UINT m_interval;
    std::vector<HWND> m_windows;
    std::function<void()> m_resumed;
    bool m_held = false;
    bool m_drawNow = false;
    ULONGLONG m_lastDrawn = 0;
};
