#pragma once

#include "cookies/CCookieDomain.h"
#include "cookies/CCookieSource.h"
#include "cookies/CDomainService.h"
#include "cookies/CFailureReport.h"
#include "cookies/CStoreNotice.h"
#include "cookies/CriticalSection.h"
#include "cookies/RefCount.h"
#include "framework/UniqueHandle.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// Owns the cookie sources, the domains found so far, the authorized set and the windows to
// notify. Loads on a worker thread, at start and at each Refresh, and tells the windows about
// every new or changed domain by posting messages; authorizes and deletes domains for the
// window thread. After a load that left out stores their browsers held, the same thread looks
// at those stores once a second and reads each as soon as it is free.
class CookieManager final : public CDomainService, public CCookieSink {
public:
    using CSourceList = std::vector<CRefPtr<CCookieSource>>;
    // PostMessageW's contract: FALSE with the thread's last error set on failure.
    using CPostFunction = std::function<BOOL(HWND, UINT, WPARAM, LPARAM)>;
    // Starts the loading thread: its handle, or null with the thread's last error set.
    using CThreadStart = std::function<HANDLE(unsigned(__stdcall*)(void*), void*)>;

    // The program's manager, over the program's sources; the application builds it.
    CookieManager();
    // Failures are told to `report`, which outlives the manager.
    CookieManager(CSourceList sources, CFailureReport& report, CPostFunction post,
                  CThreadStart startThread = nullptr);
    CookieManager(const CookieManager&) = delete;
    CookieManager& operator=(const CookieManager&) = delete;
    // Stops the watch of held stores and waits for a loading thread still on its way out.
    ~CookieManager();

    // Prepares every source; an exception reaches the start-up's handler.
    void PrepareSources();
    void StartLoading();
    // One load on the calling thread, for the command-line modes, which have no window to keep
    // responsive; it watches nothing. False when a failure ended it; the failure has been
    // reported. Only a load that may change things prunes: one that promised to change
    // nothing writes nothing.
    bool LoadHere(bool prune);
    bool IsLoading();
    // Waits for whichever load runs.
    void WaitForLoading();

    // A source's Enumerate reaches these through a sink that marks each cookie as that
    // source's; a cookie handed here directly belongs to no source.
    void AddCookie(const CRefPtr<CCookie>& cookie) override;
    void AddNotice(const CStoreNotice& notice) override;
    // What the last load left out, in the order the sources reported it, less the held stores
    // read since.
    CStoreNotices GetNotices();
    // Whether the last load left out a whole store that has not been read since.
    bool SkippedStore();
    // Reads each held store that its browser has let go, unless a delete batch runs; then
    // prunes if the load was to prune and nothing it skipped is left unread. The watch calls
    // it once a second; the console, after closing the browsers.
    void ReadFreedStores();

    void RegisterWindow(HWND window, CDomainList& domains) override;
    void UnregisterWindow(HWND window) override;
    void DomainMessageTaken(HWND window, const CCookieDomain& domain) override;
    bool Refresh() override;
    CLoadProgress GetLoadProgress() override;
    void GetDomains(CDomainList& domains) override;
    bool AuthorizeDomain(const CRefPtr<CCookieDomain>& domain) override;
    bool DeleteDomain(const CRefPtr<CCookieDomain>& domain) override;
    void BeginDeleteBatch() override;
    bool EndDeleteBatch() noexcept override;
    void DescribeDomain(const CRefPtr<CCookieDomain>& domain,
                        CCookieDescriptions& descriptions) override;

    // Asks the source that found each cookie to describe it; the descriptions come source by
    // source, in the sources' order.
    void DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions);

    // What the last delete batch did to a site it was asked to delete, once it has ended.
    struct CSiteResult {
        unsigned deleted = 0;
        unsigned stayed = 0;
        // Why cookies stayed, as the sources said it, in the order they said it.
        CStoreNotices reasons;
    };
    CSiteResult GetDeleteResult(const CCookieDomain& domain);

private:
    class CSourceSink;
    // A notice, with the source that reported it: a held store is read again by its source.
    struct CReported {
        CStoreNotice notice;
        CRefPtr<CCookieSource> source;
    };
    // A site that a delete batch has been asked to delete.
    struct CBatchSite {
        CRefPtr<CCookieDomain> domain;
        // Its cookies when its delete began; those the load adds meanwhile stay.
        CCookieList listed;
        // The cookies the sources reported deleted; whether that lasts is known at the end.
        std::unordered_set<const CCookie*> deleted;
        // Cookies of the site that its stores held besides: it comes back with them.
        CCookieList appeared;
        CStoreNotices reasons;
        // Whether every source reported its share deleted.
        bool whole = false;
    };

    static unsigned __stdcall LoadingThread(void* manager);
    // Keeps the notice, marked as the source's; a null source reported it for the manager.
    void AddReported(const CStoreNotice& notice, CCookieSource* source);
    // Ends a running watch and waits for the loading thread.
    void StopLoadingThread();
    // Until no store is held, or the watch is stopped: once a second, reads what was freed.
    void WatchHeldStores() noexcept;
    bool IsAnyStoreHeld();
    void PruneUnseen();
    // Resets the figures of the last load and marks a load as running.
    void BeginLoading();
    void Load(bool prune);
    // Tells the report, and the status line, why the load ended early.
    void ReportFailure(const std::wstring& reason) noexcept;
    // Clears the loading flag, then tells the windows.
    void FinishLoading() noexcept;
    void EnumerateSources();
    // One source's Enumerate; a failure skips what the source had not handed over yet.
    void EnumerateSource(CCookieSource& source);
    // The site's cookies, one source's share at a time, each with that source's index.
    bool DeleteInBatch(const CRefPtr<CCookieDomain>& domain, CBatchSite& site);
    // Keeps why a source left the site's cookies, and tells the report.
    void Refused(const CDeleteOutcome& outcome, CBatchSite& site);
    // Lists the cookies again, as the load does: a site that was deleted comes back.
    void AddCookies(const CCookieList& cookies);
    // Posts a domain found by the load, except to the windows that have one queued already.
    void NotifyFound(UINT message, const CRefPtr<CCookieDomain>& domain);
    void Notify(UINT message, const CRefPtr<CCookieDomain>& domain);
    // True when the window was handed the message.
    bool Deliver(HWND window, UINT message, CCookieDomain* domain);
    // The first source of the kind; the number of sources when there is none.
    std::size_t SourceIndexOfKind(CookieKind kind);
    // Drops the domains listed under the names of `deleted`, and marks them deleted.
    void ForgetDomains(const CDomainList& deleted);
    // Settles what each site of the ended batch came to; `undone` did not last.
    void SettleBatch(const CCookieList& undone, bool committed);

    CCriticalSection m_lock;
    bool m_loading = false;
    CSourceList m_sources;
    CDomainList m_domains;
    std::vector<HWND> m_windows;
    std::vector<CReported> m_notices;
    // The last load was to prune but skipped a store: it prunes once those are read.
    bool m_pruneDue = false;
    // A delete batch runs: the watch reads nothing meanwhile.
    bool m_deleting = false;
    unsigned m_cookiesFound = 0;
    unsigned m_sitesFound = 0;
    std::chrono::steady_clock::time_point m_loadStart;
    std::chrono::steady_clock::time_point m_loadEnd;
    // The windows that have a WM_DOMAIN_ADDED or WM_DOMAIN_CHANGED of the domain queued.
    std::set<std::pair<HWND, const CCookieDomain*>> m_queued;
    // Domain key -> whether this load has found a domain of it. Only the loading thread
    // changes it.
    std::unordered_map<std::wstring, bool> m_authorized;
    // The domains of m_domains by key, so each cookie finds its domain at once.
    std::unordered_map<std::wstring, CRefPtr<CCookieDomain>> m_byKey;
    // Only the deleting thread uses these: whether a delete batch runs, the sites it has been
    // asked to delete so far, which leave the list when it ends, and what the last one did.
    bool m_inDeleteBatch = false;
    std::vector<CBatchSite> m_batchSites;
    std::unordered_map<const CCookieDomain*, CSiteResult> m_results;
    CFailureReport& m_report;
    const CPostFunction m_post;
    const CThreadStart m_startThread;
    CKernelHandle m_thread;
    // Set to end the watch; without it (it could not be made) held stores wait for Refresh.
    CKernelHandle m_stopWatch;
};
