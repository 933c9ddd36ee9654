#pragma once

#include <windows.h>

#include <string>

// A time as ISO 8601 in UTC to the second ("2024-05-01T12:00:00Z"); empty for 0 (unknown).
// The export writes it and the details show it, so a copied row reads as an exported one.
std::wstring IsoUtcText(const FILETIME& time);
