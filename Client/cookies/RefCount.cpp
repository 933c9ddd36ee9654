#include "cookies/RefCount.h"

#ifdef TOLLGATE_COUNT_LIVE
namespace {
LONG volatile g_liveObjects = 0;
}

LONG CRefCount::LiveObjects() noexcept {
    return ::InterlockedCompareExchange(&g_liveObjects, 0, 0);
}

CRefCount::CRefCount() noexcept {
    ::InterlockedIncrement(&g_liveObjects);
}
CRefCount::~CRefCount() {
    ::InterlockedDecrement(&g_liveObjects);
}
#else
CRefCount::CRefCount() noexcept = default;
CRefCount::~CRefCount() = default;
#endif
