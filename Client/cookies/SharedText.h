#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

// A text that many records hold alike (a host, a cookie's name or path): one immutable copy.
using CSharedText = std::shared_ptr<const std::wstring>;

CSharedText MakeSharedText(std::wstring text);

// Hands out one shared copy of each distinct text, for the records of one read.
class CTextPool {
public:
    CSharedText Share(std::wstring_view text);

private:
    // The keys view the texts the values own, which never change.
    std::unordered_map<std::wstring_view, CSharedText> m_texts;
};
