#pragma once

#include "cookies/CCookieDescription.h"
#include "cookies/CCookieDomain.h"
#include "cookies/RefCount.h"

#include <windows.h>

#include <vector>

using CDomainList = std::vector<CRefPtr<CCookieDomain>>;

// What the windows ask of the cookie manager. The main window and the pages hold it by
// reference, so tests can drive them with a double.
class CDomainService {
public:
    // Empties `domains` and fills it with the domains known now; from then on the window is
    // posted WM_DOMAIN_ADDED / WM_DOMAIN_CHANGED / WM_DOMAIN_AUTHORIZED.
    virtual void RegisterWindow(HWND window, CDomainList& domains) = 0;
    virtual void UnregisterWindow(HWND window) = 0;
    virtual void GetDomains(CDomainList& domains) = 0;
    // Both show their own failure message and report it as false.
    virtual bool AuthorizeDomain(const CRefPtr<CCookieDomain>& domain) = 0;
    virtual bool DeleteDomain(const CRefPtr<CCookieDomain>& domain) = 0;
    // Every cookie of the domain as its store holds it now, read on demand.
    virtual void DescribeDomain(const CRefPtr<CCookieDomain>& domain,
                                CCookieDescriptions& descriptions) = 0;

protected:
    ~CDomainService() = default;
};
