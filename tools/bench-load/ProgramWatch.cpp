#include "ProgramWatch.h"

#include "BenchClock.h"

#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "store/ErrorText.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace {

using CKernelHandle = CUniqueHandle<CKernelHandleTraits>;

// Long enough that a blocked window shows its whole delay instead of the timeout.
constexpr UINT PingTimeoutMs = 60000;
constexpr DWORD PingIntervalMs = 10;

double Milliseconds() {
    return Seconds() * 1000;
}

// The main window of the process, visible or not yet.
HWND FindSheetOf(DWORD processId) {
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, L"#32770", L"Tollgate")) != nullptr) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        if (process == processId) {
            return window;
        }
    }
    return nullptr;
}

// Another process's window text is read without a message to its thread.
bool LoadEnded(HWND sheet) {
    HWND status = ::GetDlgItem(sheet, IDC_STATUS_LINE);
    wchar_t text[256] = {};
    return status != nullptr && ::GetWindowTextW(status, text, 256) > 0 &&
           std::wcsstr(text, L"loaded in") != nullptr;
}

} // namespace

std::wstring ProgramBesideThis() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring program = path;
    return program.substr(0, program.find_last_of(L'\\') + 1) + L"Tollgate.exe";
}

CProgramFigures WatchProgram() {
    std::wstring program = ProgramBesideThis();
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        ThrowLastError();
    }
    const CKernelHandle process(info.hProcess);
    const CKernelHandle thread(info.hThread);
    HWND sheet = nullptr;
    while ((sheet = FindSheetOf(info.dwProcessId)) == nullptr) {
        ::Sleep(1);
    }
    CProgramFigures figures;
    const double created = Milliseconds();
    for (bool first = true;; first = false) {
        const double start = Milliseconds();
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(sheet, WM_NULL, 0, 0, SMTO_NORMAL, PingTimeoutMs, &answer);
        const double took = Milliseconds() - start;
        if (first) {
            figures.firstResponseMs = took;
        }
        if (took > figures.maxResponseMs) {
            figures.maxResponseMs = took;
            figures.maxResponseAtMs = start - created;
        }
        if (LoadEnded(sheet)) {
            break;
        }
        ::Sleep(PingIntervalMs);
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (!::GetProcessMemoryInfo(process.Get(), &memory, sizeof(memory))) {
        ThrowLastError();
    }
    figures.peakMemoryMb = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
    ::PostMessageW(sheet, WM_COMMAND, IDOK, 0);
    if (::WaitForSingleObject(process.Get(), 30000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
    }
    return figures;
}
