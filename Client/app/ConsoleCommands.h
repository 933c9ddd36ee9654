#pragma once

#include "app/CommandLine.h"

class CRestartManager;
class CookieManager;

// -list, -list -cookies, -clean and -?: no window and no message box. Their text goes to
// standard output, every message to standard error; without redirection both go to the
// console of the process that started the program. Returns the exit code: 0 done, 2 some
// cookies not deleted (-clean), 1 a failure that stopped the run.
// -clean -close-browsers closes programs through `restart`.
int RunConsoleCommand(CookieManager& manager, const CCommandLine& line, CRestartManager& restart);

// Whether a command runs without a window.
bool IsConsoleCommand(CCommand command) noexcept;
