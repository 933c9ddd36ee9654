#include "framework/DpiFont.h"

#include "framework/Dpi.h"

void CDpiFont::SetModel(HFONT model, UINT modelDpi, LONG weight) noexcept {
    if (model == nullptr || ::GetObjectW(model, sizeof m_model, &m_model) != sizeof m_model) {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof m_model, &m_model);
    }
    if (weight != 0) {
        m_model.lfWeight = weight;
    }
    m_modelDpi = modelDpi;
    SetDpi(modelDpi);
}

void CDpiFont::SetDpi(UINT dpi) noexcept {
    LOGFONTW font = m_model;
    font.lfHeight = ScaleBetweenDpis(m_model.lfHeight, dpi, m_modelDpi);
    font.lfWidth = ScaleBetweenDpis(m_model.lfWidth, dpi, m_modelDpi);
    if (HFONT made = ::CreateFontIndirectW(&font)) {
        m_font.Reset(made);
    }
}
