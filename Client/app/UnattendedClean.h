#pragma once

#include "cookies/CDomainService.h"
#include "cookies/CookieManager.h"
#include "framework/OutputStream.h"

#include <cstdint>

// Whether -clean DAYS deletes a site: not authorized, and last used more than `days` days
// before `now`. A site whose last use is unknown (0) or lies ahead is kept.
bool IsDueForClean(bool authorized, std::uint64_t lastUsed, std::uint64_t now, unsigned days);

struct CCleanResult {
    unsigned deleted = 0;
    // Some of the site's cookies went, the others stayed.
    unsigned partlyDeleted = 0;
    unsigned notDeleted = 0;
    unsigned kept = 0;
};

// Deletes (or with `dryRun` only names) every site due for clean, in the order of their
// names: one line per site on `out` with what went, what stayed and why, then the summary.
CCleanResult CleanSites(CookieManager& manager, const CDomainList& domains, std::uint64_t now,
                        unsigned days, bool dryRun, COutputStream& out);
