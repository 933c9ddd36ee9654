#pragma once

#include "cookies/CFailureReport.h"
#include "cookies/CookieManager.h"

// The program's sources: Flash, the browser cache, the Chromium family (Chrome, Edge, Brave,
// Opera, Vivaldi), then Firefox.
CookieManager::CSourceList ProgramSources();

// How the program tells a failure: in a message box, or on the console while it runs one.
CFailureReport& ProgramReport();
