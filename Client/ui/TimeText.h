#pragma once

#include <windows.h>

#include <string>

// A time as ISO 8601 in UTC to the second ("2024-05-01T12:00:00Z"); empty for 0 (unknown).
// The export and the console write it: a script reads it the same on every machine.
std::wstring IsoUtcText(const FILETIME& time);

// A UTC time in the user's time zone (with the daylight saving rule of that date), as the
// user's short date and time without seconds ("08/12/2026 05:46"); empty for 0 (unknown).
std::wstring LocalTimeText(const FILETIME& time);
