#include "cookies/CookieManager.h"

#include "cookies/DomainMessages.h"

#include <algorithm>

namespace {

// How often a held store is looked at: a freed one shows within two seconds.
constexpr DWORD WatchInterval = 1000;

// What a freed store's source finds goes to the manager as the load's would; its notices are
// collected, to take the held store's place.
class CFreedStoreSink final : public CCookieSink {
public:
    CFreedStoreSink(CookieManager& manager, CCookieSource& source)
        : m_manager(manager), m_source(source) {}

    void AddCookie(const CRefPtr<CCookie>& cookie) override {
        cookie->SetSource(&m_source);
        m_manager.AddCookie(cookie);
    }
    void AddNotice(const CStoreNotice& notice) override { notices.push_back(notice); }

    CStoreNotices notices;

private:
    CookieManager& m_manager;
    CCookieSource& m_source;
};

} // namespace

void CookieManager::WatchHeldStores() noexcept {
    if (!m_stopWatch) {
        return;
    }
    try {
        while (IsAnyStoreHeld() &&
               ::WaitForSingleObject(m_stopWatch.Get(), WatchInterval) == WAIT_TIMEOUT) {
            ReadFreedStores();
        }
    } catch (...) {
        // Out of memory while reading a freed store: what is left waits for Refresh.
    }
}

bool CookieManager::IsAnyStoreHeld() {
    CLock hold(m_lock);
    return std::any_of(m_notices.begin(), m_notices.end(),
                       [](const CReported& reported) { return IsHeldStore(reported.notice); });
}

void CookieManager::ReadFreedStores() {
    std::vector<CReported> held;
    {
        CLock hold(m_lock);
        // A delete may be writing the stores: what was freed meanwhile is read after it.
        if (m_deleting) {
            return;
        }
        for (const CReported& reported : m_notices) {
            if (IsHeldStore(reported.notice) && reported.source) {
                held.push_back(reported);
            }
        }
    }
    bool read = false;
    for (const CReported& store : held) {
        CFreedStoreSink sink(*this, *store.source);
        if (!store.source->ReadFreedStore(store.notice, sink)) {
            continue;
        }
        read = true;
        CLock hold(m_lock);
        const auto found =
            std::find_if(m_notices.begin(), m_notices.end(), [&store](const CReported& each) {
                return each.source.Get() == store.source.Get() &&
                       each.notice.database == store.notice.database;
            });
        if (found != m_notices.end()) {
            const auto at = m_notices.erase(found);
            std::vector<CReported> replacing;
            for (const CStoreNotice& notice : sink.notices) {
                replacing.push_back({notice, store.source});
            }
            m_notices.insert(at, replacing.begin(), replacing.end());
        }
    }
    if (!read) {
        return;
    }
    bool prune = false;
    {
        CLock hold(m_lock);
        prune = m_pruneDue;
    }
    // Every store the load skipped has now been read whole: it prunes as a complete load does.
    if (prune && !SkippedStore()) {
        PruneUnseen();
    }
    Notify(WM_LOADING_DONE, nullptr);
}
