#include "app/UnattendedClean.h"

#include "cookies/CDeleteBatch.h"
#include "cookies/FileTime.h"
#include "res/StringLoader.h"
#include "res/resource.h"
#include "ui/NoticeText.h"
#include "ui/TimeText.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t Day = 24ULL * 60 * 60 * 10'000'000;

std::wstring SiteLine(UINT format, const CRefPtr<CCookieDomain>& domain) {
    return FormatString(LoadExpandedString(format).c_str(), domain->GetName().c_str(),
                        static_cast<unsigned>(domain->GetCookieCount()),
                        IsoUtcText(domain->GetLastUsed()).c_str());
}

// A fixed text, then each reason after two blanks.
std::wstring WithReasons(std::wstring line, const CStoreNotices& reasons) {
    for (const CStoreNotice& reason : reasons) {
        const std::wstring text = RefusalText(reason);
        if (!text.empty()) {
            line += L"  " + text;
        }
    }
    return line + L"\r\n";
}

} // namespace

bool IsDueForClean(bool authorized, std::uint64_t lastUsed, std::uint64_t now, unsigned days) {
    const std::uint64_t age = static_cast<std::uint64_t>(days) * Day;
    return !authorized && lastUsed != 0 && lastUsed <= now && now - lastUsed > age;
}

CCleanResult CleanSites(CookieManager& manager, const CDomainList& domains, std::uint64_t now,
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
    if (!dryRun) {
        // What each site came to is known once the batch has made its deletes last.
        CDeleteBatch batch(manager);
        for (const CRefPtr<CCookieDomain>& domain : due) {
            manager.DeleteDomain(domain);
        }
    }
    for (const CRefPtr<CCookieDomain>& domain : due) {
        if (dryRun) {
            out.Write(SiteLine(IDS_CLEAN_WOULD_DELETE, domain) + L"\r\n");
            ++result.deleted;
            continue;
        }
        const CookieManager::CSiteResult site = manager.GetDeleteResult(*domain);
        if (site.stayed == 0) {
            out.Write(SiteLine(IDS_CLEAN_DELETED, domain) + L"\r\n");
            ++result.deleted;
        } else if (site.deleted != 0) {
            out.Write(WithReasons(FormatString(LoadExpandedString(IDS_CLEAN_PARTLY_DELETED).c_str(),
                                               domain->GetName().c_str(), site.deleted,
                                               site.deleted + site.stayed,
                                               IsoUtcText(domain->GetLastUsed()).c_str()),
                                  site.reasons));
            ++result.partlyDeleted;
        } else {
            out.Write(WithReasons(SiteLine(IDS_CLEAN_NOT_DELETED, domain), site.reasons));
            ++result.notDeleted;
        }
    }
    if (dryRun) {
        out.Write(FormatString(LoadExpandedString(IDS_CLEAN_DRY_SUMMARY).c_str(), result.deleted,
                               result.kept) +
                  L"\r\n");
    } else {
        out.Write(FormatString(LoadExpandedString(IDS_CLEAN_SUMMARY).c_str(), result.deleted,
                               result.partlyDeleted, result.notDeleted, result.kept) +
                  L"\r\n");
    }
    return result;
}
