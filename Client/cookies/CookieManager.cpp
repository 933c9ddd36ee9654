#include "cookies/CookieManager.h"

#include "cookies/DomainKey.h"
#include "cookies/DomainMessages.h"
#include "cookies/sources/CFlashCookieSource.h"
#include "cookies/sources/CIECookieSource.h"
#include "res/resource.h"
#include "store/AuthorizedStore.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "ui/ShowMessage.h"
#include "ui/StringLoader.h"

#include <process.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <exception>

namespace {

constexpr wchar_t LoadingFailed[] = L"Unhandled exception while loading cookies:  %s";
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

void ShowLoadingFailure(const std::wstring& reason) {
    ShowMessage(FormatString(LoadingFailed, reason.c_str()), MB_ICONERROR | MB_OK);
}

} // namespace

CookieManager::CookieManager()
    : CookieManager({CFlashCookieSource::Create(), CIECookieSource::Create()}, ::PostMessageW) {}

CookieManager::CookieManager(CSourceList sources, CPostFunction post, CThreadStart startThread)
    : m_sources(std::move(sources)), m_post(std::move(post)),
      m_startThread(startThread ? std::move(startThread) : CThreadStart(StartCrtThread)) {}

CookieManager::~CookieManager() {
    if (m_thread) {
        ::WaitForSingleObject(m_thread.Get(), INFINITE);
    }
}

void CookieManager::PrepareSources() {
    for (const CRefPtr<CCookieSource>& source : m_sources) {
        source->Prepare();
    }
}

void CookieManager::StartLoading() {
    {
        CLock hold(m_lock);
        m_loading = true;
    }
    m_thread.Reset(m_startThread(&CookieManager::LoadingThread, this));
    if (!m_thread) {
        const DWORD reason = ::GetLastError();
        {
            CLock hold(m_lock);
            m_loading = false;
        }
        ShowLoadingFailure(CWin32Exception(reason, std::wstring()).GetText());
    }
}

bool CookieManager::IsLoading() {
    CLock hold(m_lock);
    return m_loading;
}

void CookieManager::WaitForLoading() {
    while (IsLoading()) {
        ::Sleep(250);
    }
}

bool CookieManager::LoadHere() {
    {
        CLock hold(m_lock);
        m_loading = true;
    }
    return Load();
}

unsigned __stdcall CookieManager::LoadingThread(void* manager) {
    static_cast<CookieManager*>(manager)->Load();
    return 0;
}

bool CookieManager::Load() {
    bool completed = false;
    try {
        const std::vector<std::wstring> names = LoadAuthorizedSet();
        {
            CLock hold(m_lock);
            m_notices.clear();
            m_storeSkipped = false;
            for (const std::wstring& name : names) {
                m_authorized[name] = false;
            }
        }
        EnumerateSources();
        std::vector<std::wstring> unseen;
        {
            CLock hold(m_lock);
            for (const auto& [name, seen] : m_authorized) {
                if (!seen && !m_storeSkipped) {
                    unseen.push_back(name);
                }
            }
        }
        PruneAuthorized(unseen);
        completed = true;
    } catch (const CException& e) {
        ShowLoadingFailure(e.GetText());
    } catch (const std::exception& e) {
        // Nothing may unwind out of the thread: say what happened, as for our own failures.
        const std::string what = e.what();
        ShowLoadingFailure(std::wstring(what.begin(), what.end()));
    }
    CLock hold(m_lock);
    m_loading = false;
    return completed;
}

void CookieManager::EnumerateSources() {
    std::size_t count = 0;
    {
        CLock hold(m_lock);
        count = m_sources.size();
    }
    for (std::size_t index = 0; index < count; ++index) {
        CRefPtr<CCookieSource> source;
        {
            CLock hold(m_lock);
            source = m_sources[index];
        }
        source->Enumerate(*this);
    }
}

void CookieManager::AddCookie(const CRefPtr<CCookie>& cookie) {
    const std::wstring key = DomainKeyFromHost(cookie->GetHost());
    CRefPtr<CCookieDomain> domain;
    {
        CLock hold(m_lock);
        const auto found = m_byKey.find(key);
        if (found != m_byKey.end()) {
            domain = found->second;
            domain->AddCookie(cookie);
        }
    }
    if (domain) {
        Notify(WM_DOMAIN_CHANGED, domain);
        return;
    }
    domain = CCookieDomain::Create(key);
    domain->AddCookie(cookie);
    {
        // The domain is marked before anyone can see it, so a copy taken meanwhile never
        // shows an authorized domain as not authorized.
        CLock hold(m_lock);
        const auto authorized = m_authorized.find(key);
        if (authorized != m_authorized.end()) {
            authorized->second = true;
            domain->SetAuthorized();
        }
        m_domains.push_back(domain);
        m_byKey.emplace(key, domain);
    }
    Notify(WM_DOMAIN_ADDED, domain);
}

void CookieManager::AddNotice(const std::wstring& notice) {
    CLock hold(m_lock);
    m_notices.push_back(notice);
}

void CookieManager::SkipStore(const std::wstring& notice) {
    CLock hold(m_lock);
    m_notices.push_back(notice);
    m_storeSkipped = true;
}

std::vector<std::wstring> CookieManager::GetNotices() {
    CLock hold(m_lock);
    return m_notices;
}

bool CookieManager::SkippedStore() {
    CLock hold(m_lock);
    return m_storeSkipped;
}

void CookieManager::Notify(UINT message, const CRefPtr<CCookieDomain>& domain) {
    // Posting may have to wait for a full queue to drain, and the window's thread may be
    // waiting for the lock meanwhile: post outside it.
    std::vector<HWND> windows;
    {
        CLock hold(m_lock);
        windows = m_windows;
    }
    for (HWND window : windows) {
        Deliver(window, message, domain.Get());
    }
}

void CookieManager::Deliver(HWND window, UINT message, CCookieDomain* domain) {
    while (IsRegistered(window)) {
        CRefPtr<CCookieDomain> carried(domain);
        if (m_post(window, message, reinterpret_cast<WPARAM>(carried.Get()), 0)) {
            carried.Detach();
            return;
        }
        if (::GetLastError() != ERROR_NOT_ENOUGH_QUOTA) {
            return;
        }
        if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) {
            // Nothing drains this thread's queue while it waits: hand the message over
            // directly instead.
            ::SendMessageW(window, message, reinterpret_cast<WPARAM>(carried.Detach()), 0);
            return;
        }
        ::Sleep(FullQueueWait);
    }
}

bool CookieManager::IsRegistered(HWND window) {
    CLock hold(m_lock);
    return std::find(m_windows.begin(), m_windows.end(), window) != m_windows.end();
}

void CookieManager::RegisterWindow(HWND window, CDomainList& domains) {
    CLock hold(m_lock);
    domains = m_domains;
    m_windows.push_back(window);
}

void CookieManager::UnregisterWindow(HWND window) {
    CLock hold(m_lock);
    const auto found = std::find(m_windows.begin(), m_windows.end(), window);
    if (found != m_windows.end()) {
        m_windows.erase(found);
    }
}

void CookieManager::GetDomains(CDomainList& domains) {
    CLock hold(m_lock);
    domains = m_domains;
}

bool CookieManager::AuthorizeDomain(const CRefPtr<CCookieDomain>& domain) {
    try {
        WriteAuthorized(domain->GetName());
    } catch (const CException& e) {
        ShowMessage(FailureText(IDS_FAILED_AUTHORIZING, e.GetText()), MB_ICONWARNING | MB_OK);
        return false;
    }
    domain->SetAuthorized();
    Notify(WM_DOMAIN_AUTHORIZED, domain);
    return true;
}

CRefPtr<CCookieSource> CookieManager::SourceOfKind(CookieKind kind) {
    for (const CRefPtr<CCookieSource>& source : m_sources) {
        if (source->GetKind() == kind) {
            return source;
        }
    }
    return nullptr;
}

bool CookieManager::DeleteDomain(const CRefPtr<CCookieDomain>& domain) {
    const std::wstring name = domain->GetName();
    if (domain->IsAuthorized()) {
        try {
            RemoveAuthorized(name);
        } catch (const CException& e) {
            ShowMessage(FailureText(IDS_FAILED_DELETING_AUTHORIZED, e.GetText()),
                        MB_ICONWARNING | MB_OK);
            return false;
        }
    }
    CCookieList cookies;
    domain->GetCookies(cookies);
    for (const CRefPtr<CCookie>& cookie : cookies) {
        const CRefPtr<CCookieSource> source = SourceOfKind(cookie->GetKind());
        if (!source || !source->DeleteCookie(cookie)) {
            return false;
        }
    }
    CLock hold(m_lock);
    const auto found = m_byKey.find(name);
    if (found != m_byKey.end()) {
        const CCookieDomain* removed = found->second.Get();
        m_domains.erase(
            std::find_if(m_domains.begin(), m_domains.end(),
                         [removed](const auto& each) { return each.Get() == removed; }));
        m_byKey.erase(found);
    }
    return true;
}

void CookieManager::DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions) {
    for (const CRefPtr<CCookieSource>& source : m_sources) {
        const CookieKind kind = source->GetKind();
        CCookieList own;
        for (const CRefPtr<CCookie>& cookie : cookies) {
            if (cookie->GetKind() == kind) {
                own.push_back(cookie);
            }
        }
        if (!own.empty()) {
            source->DescribeCookies(own, descriptions);
        }
    }
}

void CookieManager::DescribeDomain(const CRefPtr<CCookieDomain>& domain,
                                   CCookieDescriptions& descriptions) {
    CCookieList cookies;
    domain->GetCookies(cookies);
    DescribeCookies(cookies, descriptions);
}
