#pragma once

#include "cookies/CDomainService.h"
#include "cookies/CCookieDescription.h"

#include <functional>
#include <string>

// Fills `descriptions` with what the stores hold of `cookies` (the manager's DescribeCookies).
using CDescribe =
    std::function<void(const CCookieList& cookies, CCookieDescriptions& descriptions)>;

// Every site as CSV: the header "Site,Authorized,Last Used,Created,Types,Count", then one line
// per site in the order of their names.
std::wstring SitesCsv(const CDomainList& domains);

// Every cookie as CSV with the details columns: the header
// "Browser,Name,Host,Path,Expires,Last Used,Created,Location", then the sites in the order of
// their names, each site's cookies ordered by browser, host, path, name and location.
std::wstring CookiesCsv(const CDomainList& domains, const CDescribe& describe);
