#pragma once

#include <windows.h>

// A critical section and its scoped hold. Records, sources and the manager each own one.
class CCriticalSection {
public:
    CCriticalSection();
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    ~CCriticalSection() { ::DeleteCriticalSection(&m_section); }

    void Enter() noexcept { ::EnterCriticalSection(&m_section); }
    void Leave() noexcept { ::LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class CLock {
public:
    explicit CLock(CCriticalSection& section) noexcept : m_section(section) { m_section.Enter(); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;
    ~CLock() { m_section.Leave(); }

private:
    CCriticalSection& m_section;
};
