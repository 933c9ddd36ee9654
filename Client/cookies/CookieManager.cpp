#include "cookies/CookieManager.h"

#include "cookies/DomainKey.h"
#include "cookies/DomainMessages.h"
#include "store/AuthorizedStore.h"
#include "store/Exceptions.h"

#include <process.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// While a window's queue is full (10,000 posted messages), the sender waits this long per try.
constexpr DWORD FullQueueWait = 10;

HANDLE StartCrtThread(unsigned(__stdcall* entry)(void*), void* argument) {
    _doserrno = 0;
    const std::uintptr_t thread = ::_beginthreadex(nullptr, 0, entry, argument, 0, nullptr);
    if (thread == 0) {
        // The CRT keeps the system's reason in _doserrno; without one it ran out of memory.
        ::SetLastError(_doserrno != 0 ? static_cast<DWORD>(_doserrno) : ERROR_NOT_ENOUGH_MEMORY);
    }
    return reinterpret_cast<HANDLE>(thread);
}

} // namespace

CookieManager::CookieManager(CSourceList sources, CFailureReport& report, CPostFunction post,
                             CThreadStart startThread)
    : m_sources(std::move(sources)), m_report(report), m_post(std::move(post)),
      m_startThread(startThread ? std::move(startThread) : CThreadStart(StartCrtThread)) {}

CookieManager::~CookieManager() {
    StopLoadingThread();
}

void CookieManager::PrepareSources() {
    for (const CRefPtr<CCookieSource>& source : m_sources) {
        source->Prepare();
    }
}

void CookieManager::AddCookie(const CRefPtr<CCookie>& cookie) {
    const std::wstring key = DomainKeyFromHost(cookie->GetHost());
    CRefPtr<CCookieDomain> domain;
    bool added = false;
    {
        // Found or made under one hold of the lock: a site that a delete brings back is added
        // on the window thread while a load may add to it.
        CLock hold(m_lock);
        ++m_cookiesFound;
        const auto found = m_byKey.find(key);
        if (found != m_byKey.end()) {
            domain = found->second;
            domain->AddCookie(cookie);
        } else {
            domain = CCookieDomain::Create(key);
            domain->AddCookie(cookie);
            // The domain is marked before anyone can see it, so a copy taken meanwhile never
            // shows an authorized domain as not authorized.
            const auto authorized = m_authorized.find(key);
            if (authorized != m_authorized.end()) {
                authorized->second = true;
                domain->SetAuthorized();
            }
            m_domains.push_back(domain);
            m_byKey.emplace(key, domain);
            ++m_sitesFound;
            added = true;
        }
    }
    NotifyFound(added ? WM_DOMAIN_ADDED : WM_DOMAIN_CHANGED, domain);
}

void CookieManager::NotifyFound(UINT message, const CRefPtr<CCookieDomain>& domain) {
    std::vector<HWND> windows;
    {
        CLock hold(m_lock);
        for (HWND window : m_windows) {
            if (m_queued.emplace(window, domain.Get()).second) {
                windows.push_back(window);
            }
        }
    }
    for (HWND window : windows) {
        if (!Deliver(window, message, domain.Get())) {
            CLock hold(m_lock);
            m_queued.erase({window, domain.Get()});
        }
    }
}

void CookieManager::DomainMessageTaken(HWND window, const CCookieDomain& domain) {
    CLock hold(m_lock);
    m_queued.erase({window, &domain});
}

void CookieManager::Notify(UINT message, const CRefPtr<CCookieDomain>& domain) {
    // Each window is posted to on its own (Deliver), so that waiting out one window's full
    // queue never holds the lock that window's thread may be waiting for.
    std::vector<HWND> windows;
    {
        CLock hold(m_lock);
        windows = m_windows;
    }
    for (HWND window : windows) {
        Deliver(window, message, domain.Get());
    }
}

bool CookieManager::Deliver(HWND window, UINT message, CCookieDomain* domain) {
    for (;;) {
        DWORD error = 0;
        {
            // Posted under the lock, so that once UnregisterWindow has returned nothing more
            // reaches the window: it drains what is queued when it is destroyed. A post that
            // fails, to a window that has vanished among others, releases what it carried.
            CLock hold(m_lock);
            if (std::find(m_windows.begin(), m_windows.end(), window) == m_windows.end()) {
                return false;
            }
            CRefPtr<CCookieDomain> carried(domain);
            if (m_post(window, message, reinterpret_cast<WPARAM>(carried.Get()), 0)) {
                carried.Detach();
                return true;
            }
            error = ::GetLastError();
        }
        if (error != ERROR_NOT_ENOUGH_QUOTA) {
            return false;
        }
        if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
            // Nothing drains this thread's queue while it waits: hand the message over
            // directly instead.
            CRefPtr<CCookieDomain> carried(domain);
            ::SendMessageW(window, message, reinterpret_cast<WPARAM>(carried.Detach()), 0);
            return true;
        }
        ::Sleep(FullQueueWait);
    }
}

void CookieManager::RegisterWindow(HWND window, CDomainList& domains) {
    CLock hold(m_lock);
    domains = m_domains;
    // Posts to a null window would become thread messages that nobody releases.
    if (window != nullptr) {
        m_windows.push_back(window);
    }
}

void CookieManager::UnregisterWindow(HWND window) {
    CLock hold(m_lock);
    const auto found = std::find(m_windows.begin(), m_windows.end(), window);
    if (found != m_windows.end()) {
        m_windows.erase(found);
    }
    std::erase_if(m_queued, [window](const auto& queued) { return queued.first == window; });
}

void CookieManager::GetDomains(CDomainList& domains) {
    CLock hold(m_lock);
    domains = m_domains;
}

bool CookieManager::AuthorizeDomain(const CRefPtr<CCookieDomain>& domain) {
    try {
        WriteAuthorized(domain->GetName());
    } catch (const CException& e) {
        m_report.AuthorizeFailed(e.GetText());
        return false;
    }
    domain->SetAuthorized();
    Notify(WM_DOMAIN_AUTHORIZED, domain);
    return true;
}
