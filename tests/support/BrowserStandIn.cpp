#include "support/BrowserStandIn.h"

#include "framework/UniqueHandle.h"
#include "support/ProgramPath.h"
#include "store/ErrorText.h"

namespace {

constexpr wchar_t Helper[] = L"browser_stand_in.exe";

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring UniqueEventName() {
    static LONG count = 0;
    return L"TollgateStandIn" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
           std::to_wstring(::InterlockedIncrement(&count));
}

} // namespace

CBrowserStandIn::CBrowserStandIn(const std::wstring& file) {
    const std::wstring name = UniqueEventName();
    CKernelHandle held(::CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
    if (!held) {
        ThrowLastError();
    }
    m_run = std::make_unique<CProgramRun>(L"hold " + Quoted(file) + L" " + name,
                                          PathBesideTestProgram(Helper));
    const HANDLE waits[] = {held.Get(), m_run->Process()};
    if (!m_run->Started() || ::WaitForMultipleObjects(2, waits, FALSE, 20000) != WAIT_OBJECT_0) {
        ThrowIfWin32Error(ERROR_SHARING_VIOLATION);
    }
}

std::unique_ptr<CProgramRun> StartDeleting(const std::wstring& database, const std::wstring& host,
                                           const std::wstring& ready) {
    return std::make_unique<CProgramRun>(L"delete " + Quoted(database) + L" " + Quoted(host) +
                                             L" " + ready,
                                         PathBesideTestProgram(Helper));
}
