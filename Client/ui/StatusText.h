#pragma once

#include "cookies/CDomainService.h"

#include <string>

// The main window's status line for a load: how many cookies so far while it runs, the
// summary once it has ended.
std::wstring StatusText(const CLoadProgress& progress);
// The widest summary the status line makes room for: a load of nearly a hundred thousand
// cookies that took more than a minute, eights being
// the widest digits in most fonts.
std::wstring WidestStatusText();
// The main window's notice line: whatever the load left out, each fact told once.
std::wstring NoticeLineText(const CLoadProgress& progress);
