#include "cookies/CookieManager.h"

#include "cookies/DomainKey.h"
#include "cookies/DomainMessages.h"
#include "cookies/sources/CChromiumCookieSource.h"
#include "cookies/sources/CFirefoxCookieSource.h"
#include "cookies/sources/CFlashCookieSource.h"
#include "cookies/sources/CIECookieSource.h"
#include "res/resource.h"
#include "store/AuthorizedStore.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "ui/ShowMessage.h"
#include "res/StringLoader.h"

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

// Reports never throw: they run where nothing else would catch.
void ShowLoadingFailure(const std::wstring& reason) noexcept {
    try {
        ShowMessage(FormatString(LoadingFailed, reason.c_str()), MB_ICONERROR | MB_OK);
    } catch (...) {
        // Out of memory while reporting: nothing is left to report with.
    }
}

// The text of the exception being handled; empty when even that cannot be had. Called only
// inside a catch block.
std::wstring CurrentReason() noexcept {
    try {
        return CurrentExceptionText();
    } catch (...) {
        return std::wstring();
    }
}

} // namespace

CookieManager::CookieManager() : CookieManager(ProgramSources(), ::PostMessageW) {}

CookieManager::CSourceList CookieManager::ProgramSources() {
    return {CFlashCookieSource::Create(),
            CIECookieSource::Create(),
            CChromiumCookieSource::Create(CookieKind::Chrome),
            CChromiumCookieSource::Create(CookieKind::Edge),
            CChromiumCookieSource::Create(CookieKind::Brave),
            CChromiumCookieSource::Create(CookieKind::Opera),
            CChromiumCookieSource::Create(CookieKind::Vivaldi),
            CFirefoxCookieSource::Create()};
}

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

void CookieManager::BeginLoading() {
    CLock hold(m_lock);
    m_loading = true;
    m_notices.clear();
    m_storeSkipped = false;
    m_cookiesFound = 0;
    m_sitesFound = 0;
    m_loadStart = std::chrono::steady_clock::now();
}

void CookieManager::StartLoading() {
    BeginLoading();
    const HANDLE thread = m_startThread(&CookieManager::LoadingThread, this);
    // Read before Reset: closing the last load's handle may change the last error.
    const DWORD reason = thread != nullptr ? ERROR_SUCCESS : ::GetLastError();
    m_thread.Reset(thread);
    if (!m_thread) {
        ReportFailure(CWin32Exception(reason, std::wstring()).GetText());
        FinishLoading();
    }
}

bool CookieManager::Refresh() {
    CDomainList dropped;
    {
        CLock hold(m_lock);
        if (m_loading) {
            return false;
        }
        dropped.swap(m_domains);
        m_byKey.clear();
        // Marks are kept by address: none may outlive its domain's place in the list.
        m_queued.clear();
    }
    // The last load has cleared its flag and is on its way out.
    if (m_thread) {
        ::WaitForSingleObject(m_thread.Get(), INFINITE);
        m_thread.Reset();
    }
    StartLoading();
    return true;
}

CLoadProgress CookieManager::GetLoadProgress() {
    CLock hold(m_lock);
    const auto end = m_loading ? std::chrono::steady_clock::now() : m_loadEnd;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(end - m_loadStart);
    return {m_loading, m_cookiesFound, m_sitesFound, static_cast<unsigned>(elapsed.count()),
            m_notices};
}

void CookieManager::ReportFailure(const std::wstring& reason) noexcept {
    try {
        AddNotice(FailureText(IDS_LOADING_STOPPED, reason));
    } catch (...) {
        // Out of memory for the notice: the message box below still tells the user.
    }
    ShowLoadingFailure(reason);
}

void CookieManager::FinishLoading() noexcept {
    {
        CLock hold(m_lock);
        m_loading = false;
        m_loadEnd = std::chrono::steady_clock::now();
    }
    try {
        Notify(WM_LOADING_DONE, nullptr);
    } catch (...) {
        // Out of memory for the list of windows: the load has ended all the same.
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

bool CookieManager::LoadHere(bool prune) {
    BeginLoading();
    bool completed = false;
    try {
        Load(prune);
        completed = true;
    } catch (...) {
        ReportFailure(CurrentReason());
    }
    FinishLoading();
    return completed;
}

unsigned __stdcall CookieManager::LoadingThread(void* manager) {
    auto* self = static_cast<CookieManager*>(manager);
    // Nothing may unwind into the run-time: whatever escapes the load is reported here, and
    // the load is finished in every case, or shut-down would wait for ever.
    try {
        // The window's load prunes: the user sees what is left and may authorize again.
        self->Load(true);
    } catch (...) {
        self->ReportFailure(CurrentReason());
    }
    self->FinishLoading();
    return 0;
}

void CookieManager::Load(bool prune) {
    const std::vector<std::wstring> names = LoadAuthorizedSet();
    {
        CLock hold(m_lock);
        // An earlier load's names may have been pruned or deleted since.
        m_authorized.clear();
        for (const std::wstring& name : names) {
            m_authorized[name] = false;
        }
    }
    EnumerateSources();
    if (!prune) {
        return;
    }
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
}

// What one source finds goes to the manager marked as that source's.
class CookieManager::CSourceSink final : public CCookieSink {
public:
    CSourceSink(CookieManager& manager, const CCookieSource& source)
        : m_manager(manager), m_source(source) {}

    void AddCookie(const CRefPtr<CCookie>& cookie) override {
        cookie->SetSource(&m_source);
        m_manager.AddCookie(cookie);
    }
    void AddNotice(const std::wstring& notice) override { m_manager.AddNotice(notice); }
    void SkipStore(const std::wstring& notice) override { m_manager.SkipStore(notice); }

private:
    CookieManager& m_manager;
    const CCookieSource& m_source;
};

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
        EnumerateSource(*source);
    }
}

void CookieManager::EnumerateSource(CCookieSource& source) {
    CSourceSink sink(*this, source);
    // One source that fails never costs the others; this load then prunes nothing.
    const auto skip = [this, &source] {
        SkipStore(FormatString(LoadExpandedString(IDS_SOURCE_FAILED).c_str(),
                               TypeTextForKinds(KindBit(source.GetKind())).c_str(),
                               CurrentReason().c_str()));
    };
    try {
        source.Enumerate(sink);
    } catch (const CException&) {
        skip();
    } catch (const std::exception&) {
        skip();
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

bool CookieManager::SkippedStore() {
    CLock hold(m_lock);
    return m_storeSkipped;
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
        ShowMessage(FailureText(IDS_FAILED_AUTHORIZING, e.GetText()), MB_ICONWARNING | MB_OK);
        return false;
    }
    domain->SetAuthorized();
    Notify(WM_DOMAIN_AUTHORIZED, domain);
    return true;
}

void CookieManager::DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions) {
    for (const CRefPtr<CCookieSource>& source : m_sources) {
        CCookieList own;
        for (const CRefPtr<CCookie>& cookie : cookies) {
            if (cookie->GetSource() == source.Get()) {
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
