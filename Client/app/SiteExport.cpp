#include "app/SiteExport.h"

#include "app/CsvText.h"
#include "res/resource.h"
#include "ui/TimeText.h"
#include "res/StringLoader.h"

#include <algorithm>
#include <tuple>

namespace {

CDomainList ByName(const CDomainList& domains) {
    std::vector<std::pair<std::wstring, CRefPtr<CCookieDomain>>> named;
    for (const CRefPtr<CCookieDomain>& domain : domains) {
        named.emplace_back(domain->GetName(), domain);
    }
    std::sort(named.begin(), named.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    CDomainList sorted;
    for (auto& [name, domain] : named) {
        sorted.push_back(std::move(domain));
    }
    return sorted;
}

std::wstring Header(std::initializer_list<UINT> columns) {
    std::vector<std::wstring> names;
    for (UINT id : columns) {
        names.push_back(LoadExpandedString(id));
    }
    return CsvLine(names);
}

void SortDescriptions(CCookieDescriptions& descriptions) {
    std::stable_sort(descriptions.begin(), descriptions.end(), [](const auto& a, const auto& b) {
        return std::tie(a.kind, a.host, a.path, a.name, a.location) <
               std::tie(b.kind, b.host, b.path, b.name, b.location);
    });
}

} // namespace

std::wstring SitesCsv(const CDomainList& domains) {
    std::wstring csv = Header({IDS_COLUMN_SITE, IDS_COLUMN_AUTHORIZED, IDS_COLUMN_LAST_USED,
                               IDS_COLUMN_CREATED, IDS_COLUMN_TYPES, IDS_COLUMN_COUNT});
    const std::wstring yes = LoadExpandedString(IDS_YES);
    const std::wstring no = LoadExpandedString(IDS_NO);
    for (const CRefPtr<CCookieDomain>& domain : ByName(domains)) {
        csv += CsvLine({domain->GetName(), domain->IsAuthorized() ? yes : no,
                        IsoUtcText(domain->GetLastUsed()), IsoUtcText(domain->GetCreated()),
                        domain->GetTypeText(), std::to_wstring(domain->GetCookieCount())});
    }
    return csv;
}

std::wstring CookiesCsv(const CDomainList& domains, const CDescribe& describe) {
    std::wstring csv =
        Header({IDS_COLUMN_BROWSER, IDS_COLUMN_NAME, IDS_COLUMN_HOST, IDS_COLUMN_PATH,
                IDS_COLUMN_EXPIRES, IDS_COLUMN_LAST_USED, IDS_COLUMN_CREATED, IDS_COLUMN_LOCATION});
    for (const CRefPtr<CCookieDomain>& domain : ByName(domains)) {
        CCookieList cookies;
        domain->GetCookies(cookies);
        CCookieDescriptions descriptions;
        describe(cookies, descriptions);
        SortDescriptions(descriptions);
        for (const CCookieDescription& cookie : descriptions) {
            csv += CsvLine({TypeTextForKinds(KindBit(cookie.kind)), cookie.name, cookie.host,
                            cookie.path, IsoUtcText(cookie.expires), IsoUtcText(cookie.lastUsed),
                            IsoUtcText(cookie.created), cookie.location});
        }
    }
    return csv;
}
