#include "cookies/CriticalSection.h"

#include "store/ErrorText.h"

CCriticalSection::CCriticalSection() {
    if (!::InitializeCriticalSectionAndSpinCount(&m_section, 0)) {
        ThrowIfFailed(HRESULT_FROM_WIN32(::GetLastError()));
    }
}
