#pragma once

#include "cookies/CCookieDescription.h"
#include "cookies/CCookieDomain.h"
#include "cookies/CStoreNotice.h"
#include "cookies/RefCount.h"

#include <windows.h>

#include <string>
#include <vector>

using CDomainList = std::vector<CRefPtr<CCookieDomain>>;

// How far the current or last load has come, for the status line.
struct CLoadProgress {
    bool loading = false;
    unsigned cookies = 0;
    unsigned sites = 0;
    // From the start of the load to now, or to its end once it has ended.
    unsigned milliseconds = 0;
    // What the load left out, in the order the sources reported it, less the held stores
    // read since.
    CStoreNotices notices;
};

// What the windows ask of the cookie manager. The main window and the pages hold it by
// reference, so tests can drive them with a double.
class CDomainService {
public:
    // Empties `domains` and fills it with the domains known now; from then on the window is
    // posted WM_DOMAIN_ADDED / WM_DOMAIN_CHANGED / WM_DOMAIN_AUTHORIZED, and WM_LOADING_DONE
    // when a load ends.
    virtual void RegisterWindow(HWND window, CDomainList& domains) = 0;
    virtual void UnregisterWindow(HWND window) = 0;
    // While a WM_DOMAIN_ADDED or WM_DOMAIN_CHANGED of a domain waits in a window's queue,
    // further cookies of that domain post nothing to it. The window calls this as it takes
    // such a message, before it reads the domain, so nothing found meanwhile goes unseen.
    virtual void DomainMessageTaken(HWND window, const CCookieDomain& domain) = 0;
    // Empties the domain list and loads everything again on a new loading thread. Does
    // nothing, and says false, while a load runs.
    virtual bool Refresh() = 0;
    virtual CLoadProgress GetLoadProgress() = 0;
    virtual void GetDomains(CDomainList& domains) = 0;
    // Both have their failure told to the user and report it as false.
    virtual bool AuthorizeDomain(const CRefPtr<CCookieDomain>& domain) = 0;
    virtual bool DeleteDomain(const CRefPtr<CCookieDomain>& domain) = 0;
    // Bracket the deletes of several sites in a row (see CDeleteBatch), so the stores are
    // opened, and their deletes committed, once for all of them rather than once per site.
    // Inside a batch a site that DeleteDomain reports deleted is gone for good, and leaves the
    // domain list, only when EndDeleteBatch says true; false means a failure, already told,
    // kept the batch's deletes from lasting and its sites stay listed.
    virtual void BeginDeleteBatch() = 0;
    virtual bool EndDeleteBatch() noexcept = 0;
    // Every cookie of the domain as its store holds it now, read on demand.
    virtual void DescribeDomain(const CRefPtr<CCookieDomain>& domain,
                                CCookieDescriptions& descriptions) = 0;

protected:
    ~CDomainService() = default;
};
