#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

// A text that many records hold alike (a host, a cookie's name or path): one immutable copy
// with its own reference count, held through a single pointer.
class CSharedText {
public:
    CSharedText() noexcept = default;
    explicit CSharedText(std::wstring text);
    CSharedText(const CSharedText& other) noexcept;
    CSharedText(CSharedText&& other) noexcept : m_body(std::exchange(other.m_body, nullptr)) {}
    CSharedText& operator=(CSharedText other) noexcept;
    ~CSharedText();

    // An empty text when none is held.
    const std::wstring& operator*() const noexcept;
    const std::wstring* operator->() const noexcept { return &**this; }

private:
    struct CBody {
        LONG volatile count;
        const std::wstring text;
    };

    CBody* m_body = nullptr;
};

// Hands out one shared copy of each distinct text, for the records of one read.
class CTextPool {
public:
    CSharedText Share(std::wstring_view text);

private:
    // The keys view the texts the values hold, which never change.
    std::unordered_map<std::wstring_view, CSharedText> m_texts;
};
