#pragma once

#include <windows.h>

#include <string>

// The pixels `text` takes in `font`, drawn with DrawTextW's `format`; a format that wraps wraps
// at `width`.
SIZE TextSize(HFONT font, const std::wstring& text, UINT format, LONG width = 0);

// The most `text` takes on one line at any common display scale, in pixels at `dpi`, in fonts
// made like `model` (which is made for `dpi`). Room sized from it holds at every scale the
// window moves to, whatever each size of the font rounds to.
SIZE WidestAtEveryScale(HFONT model, UINT dpi, const std::wstring& text);
