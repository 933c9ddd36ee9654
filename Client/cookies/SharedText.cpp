#include "cookies/SharedText.h"

CSharedText::CSharedText(std::wstring text) : m_body(new CBody{1, std::move(text)}) {}

CSharedText::CSharedText(const CSharedText& other) noexcept : m_body(other.m_body) {
    if (m_body != nullptr) {
        ::InterlockedIncrement(&m_body->count);
    }
}

CSharedText& CSharedText::operator=(CSharedText other) noexcept {
    std::swap(m_body, other.m_body);
    return *this;
}

CSharedText::~CSharedText() {
    if (m_body != nullptr && ::InterlockedDecrement(&m_body->count) == 0) {
        delete m_body;
    }
}

const std::wstring& CSharedText::operator*() const noexcept {
    static const std::wstring empty;
    return m_body != nullptr ? m_body->text : empty;
}

CSharedText CTextPool::Share(std::wstring_view text) {
    const auto found = m_texts.find(text);
    if (found != m_texts.end()) {
        return found->second;
    }
    CSharedText shared(std::wstring{text});
    m_texts.emplace(*shared, shared);
    return shared;
}
