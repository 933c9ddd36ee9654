#include "framework/AppModule.h"

HRESULT CAppModule::Init(HINSTANCE instance) noexcept {
    if (instance == nullptr) {
        return E_INVALIDARG;
    }
    m_instance = instance;
    return S_OK;
}
