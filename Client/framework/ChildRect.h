#pragma once

#include <windows.h>

// Where `child` stands in `parent`'s client coordinates.
RECT ChildRect(HWND parent, HWND child) noexcept;
