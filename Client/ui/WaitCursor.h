#pragma once

#include <windows.h>

// Shows the system's wait cursor for the life of the object, then puts back the cursor it
// replaced.
class CWaitCursor {
public:
    CWaitCursor() noexcept : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    ~CWaitCursor() { ::SetCursor(m_previous); }

private:
    HCURSOR m_previous;
};
