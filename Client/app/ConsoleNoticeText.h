#pragma once

#include "cookies/CStoreNotice.h"

#include <string>

// What a load left out, for a console: nobody there can press a button. `cleaning` says
// whether the run deletes (and so may close the browsers when asked to).
std::wstring ConsoleNoticeText(const CStoreNotice& notice, bool cleaning);

// Why a listed cookie is listed as the load found it.
std::wstring ConsoleProblemText(const CStoreNotice& notice);
