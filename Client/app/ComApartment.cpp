#include "app/ComApartment.h"

#include "store/ErrorText.h"

#include <objbase.h>

CComApartment::CComApartment() {
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (hr == RPC_E_CHANGED_MODE) {
        return;
    }
    ThrowIfFailed(hr);
    m_initialized = true;
}

CComApartment::~CComApartment() {
    if (m_initialized) {
        ::CoUninitialize();
    }
}
