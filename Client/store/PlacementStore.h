#pragma once

#include <windows.h>

#include <optional>

// Where the main window stood when it was last closed: its normal (not maximized) rectangle
// in screen coordinates and whether it was maximized. Kept as the value "Placement" of
// HKEY_CURRENT_USER\Software\Tollgate, beside the authorized store, so "-u" removes it too.
struct CSavedPlacement {
    RECT normal{};
    bool maximized = false;
};

// Nothing when there is no value or it is not one we wrote. Raises CWin32Exception for a
// registry failure.
std::optional<CSavedPlacement> LoadPlacement();
void SavePlacement(const CSavedPlacement& placement);
