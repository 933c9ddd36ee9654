#pragma once

#include "cookies/CDomainService.h"

#include <string>

// The main window's status line for a load: how many cookies so far while it runs, the
// summary once it has ended, then whatever it left out.
std::wstring StatusText(const CLoadProgress& progress);
