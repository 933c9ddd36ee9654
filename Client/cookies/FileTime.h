#pragma once

#include <windows.h>

#include <cstdint>

// FILETIMEs are compared and subtracted as unsigned 64-bit numbers; 0 stands for "no time".
constexpr std::uint64_t ToUInt64(const FILETIME& time) noexcept {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

constexpr FILETIME ToFileTime(std::uint64_t value) noexcept {
    return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

inline std::uint64_t CurrentFileTime() noexcept {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return ToUInt64(now);
}
