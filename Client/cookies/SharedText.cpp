#include "cookies/SharedText.h"

CSharedText MakeSharedText(std::wstring text) {
    return std::make_shared<const std::wstring>(std::move(text));
}

CSharedText CTextPool::Share(std::wstring_view text) {
    const auto found = m_texts.find(text);
    if (found != m_texts.end()) {
        return found->second;
    }
    CSharedText shared = MakeSharedText(std::wstring(text));
    m_texts.emplace(*shared, shared);
    return shared;
}
