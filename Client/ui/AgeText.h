#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The age of a time as the cookie lists show it: "%u days ago", "(Future)", "(Unknown)".
std::wstring FormatAgeText(const FILETIME& time);

// The same against a given "now", so the table can be checked with the clock held still.
std::wstring FormatAgeText(std::uint64_t time, std::uint64_t now);

// The count label's string: the singular form for a total of exactly 1, the plural otherwise.
constexpr UINT CountStringId(std::size_t total, UINT singular, UINT plural) noexcept {
    return total == 1 ? singular : plural;
}
