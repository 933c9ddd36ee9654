#include "support/ProgramDriver.h"

#include "support/ProgramPath.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

namespace {

constexpr std::size_t RemoteSize = 64 * 1024;
constexpr int TextCapacity = 4096;
constexpr int SheetTabControl = 0x3020;
constexpr int MessageBoxText = 0xFFFF;

bool IsMessageBox(HWND window) {
    return ::GetDlgItem(window, MessageBoxText) != nullptr;
}

bool IsDialog(HWND window) {
    wchar_t name[32] = {};
    ::GetClassNameW(window, name, 32);
    return std::wstring(name) == L"#32770";
}

} // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (;;) {
        if (done()) {
            return true;
        }
        if (::GetTickCount64() >= end) {
            return false;
        }
        ::Sleep(50);
    }
}

std::wstring WindowText(HWND window) {
    std::vector<wchar_t> buffer(TextCapacity);
    const auto length =
        ::SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data(), static_cast<std::size_t>(length));
}

CProgramRun::CProgramRun(const std::wstring& arguments, std::wstring program) {
    if (program.empty()) {
        program = PathBesideTestProgram(L"Tollgate.exe");
    }
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    m_job.Reset(::CreateJobObjectW(nullptr, nullptr));
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                         CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) {
        m_process.Reset(info.hProcess);
        m_thread.Reset(info.hThread);
        m_id = info.dwProcessId;
        ::AssignProcessToJobObject(m_job.Get(), m_process.Get());
        ::ResumeThread(m_thread.Get());
    }
}

CProgramRun::~CProgramRun() {
    if (m_process && !WaitForAllProcesses(0)) {
        ::TerminateJobObject(m_job.Get(), 255);
        WaitForAllProcesses(10000);
    }
}

bool CProgramRun::HasExited(DWORD milliseconds) const {
    return ::WaitForSingleObject(m_process.Get(), milliseconds) == WAIT_OBJECT_0;
}

bool CProgramRun::WaitForAllProcesses(DWORD milliseconds) const {
    return WaitUntil(
        [&] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
            return ::QueryInformationJobObject(m_job.Get(), JobObjectBasicAccountingInformation,
                                               &info, sizeof(info), nullptr) &&
                   info.ActiveProcesses == 0;
        },
        milliseconds);
}

DWORD CProgramRun::WaitForExit(DWORD milliseconds) const {
    DWORD code = STILL_ACTIVE;
    if (HasExited(milliseconds)) {
        ::GetExitCodeProcess(m_process.Get(), &code);
    }
    return code;
}

std::vector<HWND> CProgramRun::TopWindows() const {
    struct CSearch {
        DWORD id;
        std::vector<HWND> found;
    } search{m_id, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<CSearch*>(param);
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (process == s.id && ::IsWindowVisible(window)) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND CProgramRun::WaitForDialog(const std::wstring& caption, DWORD milliseconds) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopWindows()) {
                if (IsDialog(window) && WindowText(window) == caption) {
                    found = window;
                    return true;
                }
            }
            return HasExited();
        },
        milliseconds);
    return found;
}

HWND CProgramRun::WaitForSheet(DWORD milliseconds) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopWindows()) {
                if (IsDialog(window) && ::GetDlgItem(window, SheetTabControl) != nullptr) {
                    found = window;
                    return true;
                }
            }
            return HasExited();
        },
        milliseconds);
    return found;
}

CSeenMessageBox CProgramRun::WaitForMessageBox(DWORD milliseconds) const {
    CSeenMessageBox seen;
    WaitUntil(
        [&] {
            for (HWND window : TopWindows()) {
                if (IsDialog(window) && IsMessageBox(window)) {
                    seen.window = window;
                    seen.caption = WindowText(window);
                    seen.text = WindowText(::GetDlgItem(window, MessageBoxText));
                    seen.owner = ::GetWindow(window, GW_OWNER);
                    return true;
                }
            }
            return HasExited();
        },
        milliseconds);
    return seen;
}

namespace {

// An inheritable, deleted-on-close file for one of the child's standard streams.
// A fresh file for each run: under Wine the file of the run before may still be pending
// deletion for a moment after its program has ended, and a name reused then cannot be opened.
CFileHandle CaptureFile() {
    wchar_t folder[MAX_PATH] = {};
    wchar_t name[MAX_PATH] = {};
    if (::GetTempPathW(MAX_PATH, folder) == 0 || ::GetTempFileNameW(folder, L"tg", 0, name) == 0) {
        return CFileHandle();
    }
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return CFileHandle(::CreateFileW(
        name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

std::string ReadAll(HANDLE file) {
    std::string text;
    ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read != 0) {
        text.append(buffer, read);
    }
    return text;
}

// Starts `commandLine` in `folder` (null: this one) with its standard output and error
// captured and waits for it; after `milliseconds` it ends it and every process it started.
CConsoleRun RunCaptured(const wchar_t* program, std::wstring commandLine, const wchar_t* folder,
                        DWORD milliseconds) {
    CFileHandle output = CaptureFile();
    CFileHandle errors = CaptureFile();
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output.Get();
    startup.hStdError = errors.Get();
    PROCESS_INFORMATION info = {};
    CConsoleRun run;
    CKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!output || !errors || !job ||
        !::CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                          nullptr, folder, &startup, &info)) {
        ADD_FAILURE() << "not started, error " << ::GetLastError();
        return run;
    }
    CKernelHandle process(info.hProcess);
    CKernelHandle thread(info.hThread);
    ::AssignProcessToJobObject(job.Get(), process.Get());
    ::ResumeThread(thread.Get());
    if (::WaitForSingleObject(process.Get(), milliseconds) != WAIT_OBJECT_0) {
        ::TerminateJobObject(job.Get(), 255);
        ::WaitForSingleObject(process.Get(), 10000);
        return run;
    }
    ::GetExitCodeProcess(process.Get(), &run.exitCode);
    run.output = ReadAll(output.Get());
    run.errors = ReadAll(errors.Get());
    return run;
}

} // namespace

CConsoleRun RunFromConsole(const std::wstring& arguments, DWORD milliseconds) {
    const std::wstring program = PathBesideTestProgram(L"Tollgate.exe");
    return RunCaptured(program.c_str(), L"\"" + program + L"\" " + arguments, nullptr,
                       milliseconds);
}

CConsoleRun RunFromCmd(const std::wstring& line, DWORD milliseconds) {
    const std::wstring folder = PathBesideTestProgram(L"");
    return RunCaptured(nullptr, L"cmd.exe /v:on /c \"" + line + L"\"", folder.c_str(),
                       milliseconds);
}

HWND WaitForAnyDialog(const std::wstring& caption, DWORD milliseconds) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = ::FindWindowW(L"#32770", caption.c_str());
            return found != nullptr && ::IsWindowVisible(found);
        },
        milliseconds);
    return found;
}

void Answer(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// Posted, so that a message box the click opens does not block the driver.
void Click(HWND button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

void SelectTab(HWND sheet, int index) {
    ::SendMessageW(::GetDlgItem(sheet, SheetTabControl), TCM_SETCURFOCUS, index, 0);
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

CRemoteListView::CRemoteListView(HWND listView, HANDLE process)
    : m_listView(listView), m_process(process),
      m_remote(::VirtualAllocEx(process, nullptr, RemoteSize, MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE)) {}

CRemoteListView::~CRemoteListView() {
    if (m_remote != nullptr) {
        ::VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
    }
}

int CRemoteListView::Count() const {
    return static_cast<int>(::SendMessageW(m_listView, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring CRemoteListView::Text(int item, int column) const {
    auto remoteText = reinterpret_cast<wchar_t*>(static_cast<BYTE*>(m_remote) + sizeof(LVITEMW));
    LVITEMW request = {};
    request.iSubItem = column;
    request.pszText = remoteText;
    request.cchTextMax = TextCapacity;
    ::WriteProcessMemory(m_process, m_remote, &request, sizeof(request), nullptr);
    const auto length = static_cast<std::size_t>(
        ::SendMessageW(m_listView, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(m_remote)));
    std::wstring text(length, L'\0');
    ::ReadProcessMemory(m_process, remoteText, text.data(), length * sizeof(wchar_t), nullptr);
    return text;
}

std::vector<std::vector<std::wstring>> CRemoteListView::Rows(int columns) const {
    std::vector<std::vector<std::wstring>> rows;
    for (int item = 0, count = Count(); item < count; ++item) {
        std::vector<std::wstring> row;
        for (int column = 0; column < columns; ++column) {
            row.push_back(Text(item, column));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

bool CRemoteListView::IsChecked(int item) const {
    const auto state = ::SendMessageW(m_listView, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void CRemoteListView::SetChecked(int item, bool checked) const {
    LVITEMW request = {};
    request.stateMask = LVIS_STATEIMAGEMASK;
    request.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    ::WriteProcessMemory(m_process, m_remote, &request, sizeof(request), nullptr);
    ::SendMessageW(m_listView, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(m_remote));
}

int CRemoteListView::Find(const std::wstring& text) const {
    for (int item = 0, count = Count(); item < count; ++item) {
        if (Text(item, 0) == text) {
            return item;
        }
    }
    return -1;
}
