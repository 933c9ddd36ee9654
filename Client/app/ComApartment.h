#pragma once

#include <windows.h>

// Puts the calling thread in a single-threaded COM apartment for the object's lifetime, as the
// shell's functions want on a window's thread. A thread that is in the multithreaded apartment
// already stays there and is left as it was. Raises CComException when COM cannot start.
class CComApartment {
public:
    CComApartment();
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;
    ~CComApartment();

private:
    // Each successful initialization, S_FALSE too, needs its CoUninitialize.
    bool m_initialized = false;
};
