#pragma once

#include "cookies/CBrowserCloser.h"

#include <set>
#include <string>

class COutputStream;
class CookieManager;

// -clean -close-browsers: closes the programs holding the stores the load left out, and
// reads those stores. What closed goes to standard output; what could not be closed goes to
// standard error, and its texts into `told`, so that the load's notices do not say it again.
void CloseHoldingBrowsers(CookieManager& manager, CBrowserCloser& closer, COutputStream& out,
                          std::set<std::wstring>& told);

// Opens again what CloseHoldingBrowsers closed, and says so.
void ReopenBrowsers(CBrowserCloser& closer, COutputStream& out);
