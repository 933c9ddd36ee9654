#include "cookies/CookieManager.h"

#include "cookies/DomainMessages.h"
#include "store/AuthorizedStore.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"

#include <algorithm>
#include <exception>

namespace {

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

void CookieManager::BeginLoading() {
    CLock hold(m_lock);
    m_loading = true;
    m_notices.clear();
    m_pruneDue = false;
    m_cookiesFound = 0;
    m_sitesFound = 0;
    m_loadStart = std::chrono::steady_clock::now();
}

void CookieManager::StartLoading() {
    BeginLoading();
    if (!m_stopWatch) {
        m_stopWatch.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    } else {
        ::ResetEvent(m_stopWatch.Get());
    }
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
    StopLoadingThread();
    StartLoading();
    return true;
}

void CookieManager::StopLoadingThread() {
    if (!m_thread) {
        return;
    }
    // The last load has cleared its flag: the thread watches held stores, or is on its way out.
    if (m_stopWatch) {
        ::SetEvent(m_stopWatch.Get());
    }
    ::WaitForSingleObject(m_thread.Get(), INFINITE);
    m_thread.Reset();
}

CLoadProgress CookieManager::GetLoadProgress() {
    CLock hold(m_lock);
    const auto end = m_loading ? std::chrono::steady_clock::now() : m_loadEnd;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(end - m_loadStart);
    CLoadProgress progress{
        m_loading, m_cookiesFound, m_sitesFound, static_cast<unsigned>(elapsed.count()), {}};
    for (const CReported& reported : m_notices) {
        progress.notices.push_back(reported.notice);
    }
    return progress;
}

void CookieManager::ReportFailure(const std::wstring& reason) noexcept {
    try {
        CStoreNotice stopped;
        stopped.problem = CStoreProblem::LoadStopped;
        stopped.reason = reason;
        stopped.skipped = true;
        AddNotice(stopped);
    } catch (...) {
        // Out of memory for the notice: the report below still tells the user.
    }
    m_report.LoadFailed(reason);
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
    self->WatchHeldStores();
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
    if (SkippedStore()) {
        CLock hold(m_lock);
        m_pruneDue = true;
        return;
    }
    PruneUnseen();
}

void CookieManager::PruneUnseen() {
    std::vector<std::wstring> unseen;
    {
        CLock hold(m_lock);
        m_pruneDue = false;
        for (const auto& [name, seen] : m_authorized) {
            if (!seen) {
                unseen.push_back(name);
            }
        }
    }
    PruneAuthorized(unseen);
}

// What one source finds goes to the manager marked as that source's.
class CookieManager::CSourceSink final : public CCookieSink {
public:
    CSourceSink(CookieManager& manager, CCookieSource& source)
        : m_manager(manager), m_source(source) {}

    void AddCookie(const CRefPtr<CCookie>& cookie) override {
        cookie->SetSource(&m_source);
        m_manager.AddCookie(cookie);
    }
    void AddNotice(const CStoreNotice& notice) override {
        m_manager.AddReported(notice, &m_source);
    }

private:
    CookieManager& m_manager;
    CCookieSource& m_source;
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
        CStoreNotice failed;
        failed.problem = CStoreProblem::SourceFailed;
        failed.kind = source.GetKind();
        failed.reason = CurrentReason();
        failed.skipped = true;
        AddReported(failed, &source);
    };
    try {
        source.Enumerate(sink);
    } catch (const CException&) {
        skip();
    } catch (const std::exception&) {
        skip();
    }
}

void CookieManager::AddNotice(const CStoreNotice& notice) {
    AddReported(notice, nullptr);
}

void CookieManager::AddReported(const CStoreNotice& notice, CCookieSource* source) {
    CLock hold(m_lock);
    m_notices.push_back({notice, CRefPtr<CCookieSource>(source)});
}

CStoreNotices CookieManager::GetNotices() {
    return GetLoadProgress().notices;
}

bool CookieManager::SkippedStore() {
    CLock hold(m_lock);
    return std::any_of(m_notices.begin(), m_notices.end(),
                       [](const CReported& reported) { return reported.notice.skipped; });
}
