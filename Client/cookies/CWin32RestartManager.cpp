#include "cookies/CWin32RestartManager.h"

#include "store/ErrorText.h"

#include <restartmanager.h>

namespace {

// ERROR_FAIL_SHUTDOWN, which mingw's headers lack: some program refused to close.
constexpr DWORD FailedShutdown = 351;

class CWin32RestartSession final : public CRestartSession {
public:
    CWin32RestartSession() {
        WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
        ThrowIfWin32Error(::RmStartSession(&m_session, 0, key));
    }
    CWin32RestartSession(const CWin32RestartSession&) = delete;
    CWin32RestartSession& operator=(const CWin32RestartSession&) = delete;
    ~CWin32RestartSession() override { ::RmEndSession(m_session); }

    void RegisterFiles(const std::vector<std::wstring>& files) override {
        std::vector<LPCWSTR> names;
        for (const std::wstring& file : files) {
            names.push_back(file.c_str());
        }
        ThrowIfWin32Error(::RmRegisterResources(m_session, static_cast<UINT>(names.size()),
                                                names.data(), 0, nullptr, 0, nullptr));
    }

    std::vector<CHoldingProgram> GetList() override {
        std::vector<RM_PROCESS_INFO> found;
        DWORD error = ERROR_MORE_DATA;
        // The list may grow between the two calls: ask again with the size it has then.
        while (error == ERROR_MORE_DATA) {
            UINT needed = 0;
            auto count = static_cast<UINT>(found.size());
            DWORD reasons = 0;
            error = ::RmGetList(m_session, &needed, &count, found.data(), &reasons);
            if (error == ERROR_MORE_DATA) {
                found.resize(needed);
            } else {
                found.resize(count);
            }
        }
        ThrowIfWin32Error(error);
        std::vector<CHoldingProgram> programs;
        for (const RM_PROCESS_INFO& info : found) {
            programs.push_back({info.Process.dwProcessId, info.Process.ProcessStartTime,
                                info.strAppName,
                                (info.AppStatus & (RmStatusStopped | RmStatusStoppedOther)) != 0});
        }
        return programs;
    }

    void Shutdown() override {
        const DWORD error = ::RmShutdown(m_session, 0, nullptr);
        // Some program refused: GetList says which.
        if (error != FailedShutdown) {
            ThrowIfWin32Error(error);
        }
    }

    void Restart() override { ThrowIfWin32Error(::RmRestart(m_session, 0, nullptr)); }

private:
    DWORD m_session = 0;
};

} // namespace

std::unique_ptr<CRestartSession> CWin32RestartManager::StartSession() {
    return std::make_unique<CWin32RestartSession>();
}
