#include "app/UnattendedClean.h"

#include "cookies/CDeleteBatch.h"
#include "cookies/FileTime.h"
#include "res/resource.h"
#include "ui/TimeText.h"
#include "ui/StringLoader.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint64_t Day = 24ULL * 60 * 60 * 10'000'000;

std::wstring SiteLine(UINT format, const CRefPtr<CCookieDomain>& domain) {
    return FormatString(LoadExpandedString(format).c_str(), domain->GetName().c_str(),
                        static_cast<unsigned>(domain->GetCookieCount()),
                        IsoUtcText(domain->GetLastUsed()).c_str()) +
           L"\r\n";
}

} // namespace

bool IsDueForClean(bool authorized, std::uint64_t lastUsed, std::uint64_t now, unsigned days) {
    const std::uint64_t age = static_cast<std::uint64_t>(days) * Day;
    return !authorized && lastUsed != 0 && lastUsed <= now && now - lastUsed > age;
}

CCleanResult CleanSites(CDomainService& service, const CDomainList& domains, std::uint64_t now,
                        unsigned days, bool dryRun, COutputStream& out) {
    CDomainList due;
    CCleanResult result;
    for (const CRefPtr<CCookieDomain>& domain : domains) {
        if (IsDueForClean(domain->IsAuthorized(), ToUInt64(domain->GetLastUsed()), now, days)) {
            due.push_back(domain);
        } else {
            ++result.kept;
        }
    }
    std::sort(due.begin(), due.end(),
              [](const auto& a, const auto& b) { return a->GetName() < b->GetName(); });
    // Which sites went, told once the batch has made their deletes last.
    std::vector<bool> gone;
    {
        CDeleteBatch batch(service);
        for (const CRefPtr<CCookieDomain>& domain : due) {
            gone.push_back(!dryRun && service.DeleteDomain(domain));
        }
        if (!batch.End()) {
            gone.assign(gone.size(), false);
        }
    }
    for (std::size_t index = 0; index < due.size(); ++index) {
        if (dryRun) {
            out.Write(SiteLine(IDS_CLEAN_WOULD_DELETE, due[index]));
            ++result.deleted;
        } else if (gone[index]) {
            out.Write(SiteLine(IDS_CLEAN_DELETED, due[index]));
            ++result.deleted;
        } else {
            out.Write(SiteLine(IDS_CLEAN_NOT_DELETED, due[index]));
            ++result.notDeleted;
        }
    }
    if (dryRun) {
        out.Write(FormatString(LoadExpandedString(IDS_CLEAN_DRY_SUMMARY).c_str(), result.deleted,
                               result.kept) +
                  L"\r\n");
    } else {
        out.Write(FormatString(LoadExpandedString(IDS_CLEAN_SUMMARY).c_str(), result.deleted,
                               result.notDeleted, result.kept) +
                  L"\r\n");
    }
    return result;
}
