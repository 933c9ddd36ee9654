#include "cookies/CookieManager.h"

#include "store/AuthorizedStore.h"
#include "store/Exceptions.h"

#include <algorithm>
#include <unordered_set>

std::size_t CookieManager::SourceIndexOfKind(CookieKind kind) {
    std::size_t index = 0;
    while (index < m_sources.size() && m_sources[index]->GetKind() != kind) {
        ++index;
    }
    return index;
}

bool CookieManager::DeleteDomain(const CRefPtr<CCookieDomain>& domain) {
    if (!m_inDeleteBatch) {
        // A site alone is a batch of one: every store it touches is locked before any goes.
        BeginDeleteBatch();
        const bool deleted = DeleteDomain(domain);
        return EndDeleteBatch() && deleted;
    }
    CBatchSite site;
    site.domain = domain;
    const bool deleted = DeleteInBatch(domain, site);
    m_batchSites.push_back(std::move(site));
    return deleted;
}

bool CookieManager::DeleteInBatch(const CRefPtr<CCookieDomain>& domain, CBatchSite& site) {
    if (domain->IsAuthorized()) {
        try {
            RemoveAuthorized(domain->GetName());
        } catch (const CException& e) {
            m_report.UnauthorizeFailed(e.GetText());
            return false;
        }
        // Should the site come back, it comes back not authorized.
        CLock hold(m_lock);
        m_authorized.erase(domain->GetName());
    }
    domain->GetCookies(site.listed);
    // Each source gets the site's cookies of its kind in one batch, in the sources' order, so
    // a database source deletes them in one transaction per store.
    std::vector<CCookieList> shares(m_sources.size());
    for (const CRefPtr<CCookie>& cookie : site.listed) {
        const std::size_t index = SourceIndexOfKind(cookie->GetKind());
        if (index == m_sources.size()) {
            // No source can delete it: the domain stays whole.
            return false;
        }
        shares[index].push_back(cookie);
    }
    // Every store the site touches is taken first: a busy one leaves the site whole.
    for (std::size_t index = 0; index < shares.size(); ++index) {
        CDeleteOutcome outcome;
        if (!shares[index].empty() && !m_sources[index]->PrepareDelete(shares[index], outcome)) {
            Refused(outcome, site);
            return false;
        }
    }
    for (std::size_t index = 0; index < shares.size(); ++index) {
        if (shares[index].empty()) {
            continue;
        }
        CDeleteOutcome outcome;
        const bool deleted = m_sources[index]->DeleteCookies(shares[index], outcome);
        for (const CRefPtr<CCookie>& cookie : outcome.appeared) {
            cookie->SetSource(m_sources[index].Get());
        }
        site.appeared.insert(site.appeared.end(), outcome.appeared.begin(), outcome.appeared.end());
        for (const CRefPtr<CCookie>& cookie : outcome.deleted) {
            site.deleted.insert(cookie.Get());
        }
        if (!deleted) {
            Refused(outcome, site);
            return false;
        }
    }
    site.whole = true;
    return true;
}

void CookieManager::Refused(const CDeleteOutcome& outcome, CBatchSite& site) {
    if (outcome.refusal.problem != CStoreProblem::None) {
        site.reasons.push_back(outcome.refusal);
    }
    m_report.DeleteFailed(outcome.refusal);
}

void CookieManager::ForgetDomains(const CDomainList& deleted) {
    CLock hold(m_lock);
    std::unordered_set<const CCookieDomain*> removed;
    for (const CRefPtr<CCookieDomain>& domain : deleted) {
        const auto found = m_byKey.find(domain->GetName());
        if (found != m_byKey.end() && found->second.Get() == domain.Get()) {
            removed.insert(found->second.Get());
            m_byKey.erase(found);
            domain->SetDeleted();
        }
    }
    // One pass over the list for the whole batch, not one per site.
    std::erase_if(m_queued,
                  [&removed](const auto& queued) { return removed.count(queued.second); });
    std::erase_if(m_domains, [&removed](const auto& each) { return removed.count(each.Get()); });
}

void CookieManager::BeginDeleteBatch() {
    {
        CLock hold(m_lock);
        m_deleting = true;
    }
    m_inDeleteBatch = true;
    m_batchSites.clear();
    m_results.clear();
    for (const CRefPtr<CCookieSource>& source : m_sources) {
        source->BeginDeleteBatch();
    }
}

bool CookieManager::EndDeleteBatch() noexcept {
    bool committed = true;
    CCookieList undone;
    for (const CRefPtr<CCookieSource>& source : m_sources) {
        CCookieList lost;
        CStoreNotices failures;
        committed = source->EndDeleteBatch(lost, failures) && committed;
        for (const CStoreNotice& failure : failures) {
            m_report.DeleteFailed(failure);
        }
        try {
            undone.insert(undone.end(), lost.begin(), lost.end());
        } catch (...) {
            committed = false;
        }
    }
    m_inDeleteBatch = false;
    {
        CLock hold(m_lock);
        m_deleting = false;
    }
    try {
        SettleBatch(undone, committed);
    } catch (...) {
        // Out of memory for the lookups: the sites stay listed; a Refresh shows what is left.
        committed = false;
    }
    m_batchSites.clear();
    return committed;
}

void CookieManager::SettleBatch(const CCookieList& undone, bool committed) {
    std::unordered_set<const CCookie*> lost;
    for (const CRefPtr<CCookie>& cookie : undone) {
        lost.insert(cookie.Get());
    }
    CDomainList gone;
    CCookieList back;
    for (CBatchSite& site : m_batchSites) {
        CSiteResult& result = m_results[site.domain.Get()];
        const bool lasted = std::none_of(site.deleted.begin(), site.deleted.end(),
                                         [&lost](const CCookie* each) { return lost.count(each); });
        for (const CCookie* cookie : site.deleted) {
            result.deleted += lost.count(cookie) == 0 ? 1 : 0;
        }
        result.stayed = static_cast<unsigned>(site.listed.size()) - result.deleted;
        result.reasons = site.reasons;
        // The page keeps every row of a batch that did not last whole.
        if (!site.whole || !lasted || !committed) {
            continue;
        }
        gone.push_back(site.domain);
        // What the load added to the site while it was deleted was not deleted: it comes
        // back, with what its stores hold besides.
        CCookieList now;
        site.domain->GetCookies(now);
        std::unordered_set<const CCookie*> listed;
        for (const CRefPtr<CCookie>& cookie : site.listed) {
            listed.insert(cookie.Get());
        }
        for (const CRefPtr<CCookie>& cookie : now) {
            if (listed.count(cookie.Get()) == 0) {
                back.push_back(cookie);
            }
        }
        back.insert(back.end(), site.appeared.begin(), site.appeared.end());
    }
    ForgetDomains(gone);
    AddCookies(back);
}

void CookieManager::AddCookies(const CCookieList& cookies) {
    for (const CRefPtr<CCookie>& cookie : cookies) {
        AddCookie(cookie);
    }
}

CookieManager::CSiteResult CookieManager::GetDeleteResult(const CCookieDomain& domain) {
    const auto found = m_results.find(&domain);
    return found != m_results.end() ? found->second : CSiteResult();
}
