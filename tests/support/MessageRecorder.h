#pragma once

#include "cookies/CCookieDomain.h"
#include "cookies/CDomainService.h"
#include "cookies/RefCount.h"

#include <windows.h>

#include <string>
#include <vector>

// A message-only window that receives the cookie manager's notifications the way the main
// window does: it takes over the reference each message carries. Free of any test framework,
// so tools use it to drain messages too.
class CMessageRecorder {
public:
    struct CReceived {
        UINT message;
        CRefPtr<CCookieDomain> domain;
    };

    CMessageRecorder();
    CMessageRecorder(const CMessageRecorder&) = delete;
    CMessageRecorder& operator=(const CMessageRecorder&) = delete;
    ~CMessageRecorder();

    HWND Window() const noexcept { return m_window; }

    // Dispatches what is queued for this thread's windows; returns how many were received.
    std::size_t Drain();

    // Hands out what was received so far and forgets it.
    std::vector<CReceived> Take();

    // Received without keeping the domains: only counted. For long runs.
    void CountOnly() noexcept { m_countOnly = true; }
    std::size_t Count() const noexcept { return m_count; }

    // Tells the manager of every domain message taken, as a window does, so that further
    // cookies of that domain are posted again.
    void TellTaken(CDomainService& manager) noexcept { m_manager = &manager; }
    // WM_LOADING_DONE messages received; they are not among the domain messages.
    int LoadsDone() const noexcept { return m_loadsDone; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    bool m_countOnly = false;
    std::size_t m_count = 0;
    CDomainService* m_manager = nullptr;
    int m_loadsDone = 0;
    std::vector<CReceived> m_received;
};

// "ADDED a.com" and the like, for comparing sequences.
std::wstring Describe(const CMessageRecorder::CReceived& received);
