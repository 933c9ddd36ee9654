#pragma once

#include <cstdint>

// The kind of a cookie and of the source that finds it. The codes are bits: a domain keeps
// the OR of its cookies' kinds.
enum class CookieKind : std::uint32_t {
    IE = 1,
    Flash = 2,
    // Chrome, Chromium and their channels.
    Chrome = 4,
    Edge = 8,
    Firefox = 16,
    Brave = 32,
    Opera = 64,
    Vivaldi = 128,
};

constexpr std::uint32_t KindBit(CookieKind kind) noexcept {
    return static_cast<std::uint32_t>(kind);
}
