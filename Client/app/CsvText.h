#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One CSV line after RFC 4180: fields separated by commas, a field quoted when it holds a
// comma, a quote, a line break or an outer blank (quotes doubled inside), ended by CR LF.
std::wstring CsvLine(const std::vector<std::wstring>& fields);

// A time as ISO 8601 in UTC to the second ("2024-05-01T12:00:00Z"); empty for 0 (unknown).
std::wstring IsoUtcText(const FILETIME& time);
