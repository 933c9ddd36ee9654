#include "app/CommandLine.h"
#include "app/ConsoleCommands.h"
#include "app/ProductVersion.h"
#include "cookies/CWin32RestartManager.h"
#include "cookies/CookieManager.h"
#include "framework/OutputStream.h"
#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "res/StringLoader.h"

#include <windows.h>

#include <string>

// Tollgate.com, the console twin of Tollgate.exe: a shell or a script waits for a console
// program and reads its exit code, and cmd.exe and PowerShell pick the .com for the bare name.
// The window-less commands run here, through the very code Tollgate.exe runs them with;
// everything else is handed to Tollgate.exe beside this file. It never opens a window.

namespace {

constexpr int Started = 0;
constexpr int NotStarted = 1;

// A shell hands a program the blanks before "&", "|" or ">" as part of its command line:
// "Tollgate -list | find x" must be the list, not a window.
std::wstring WithoutTrailingBlanks(const wchar_t* commandLine) {
    std::wstring text = commandLine != nullptr ? commandLine : L"";
    text.erase(text.find_last_not_of(L" \t") + 1);
    return text;
}

std::wstring WindowProgramPath() {
    const std::wstring self = GetModulePath(nullptr);
    return self.substr(0, self.find_last_of(L'\\') + 1) + L"Tollgate.exe";
}

// Starts Tollgate.exe with the same arguments and lets it run on its own.
void StartWindowProgram(const std::wstring& arguments) {
    const std::wstring program = WindowProgramPath();
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        ThrowLastError();
    }
    CKernelHandle process(info.hProcess);
    CKernelHandle thread(info.hThread);
}

int StartWindow(const std::wstring& arguments) {
    try {
        StartWindowProgram(arguments);
        return Started;
    } catch (...) {
        COutputStream errors = COutputStream::Standard(STD_ERROR_HANDLE);
        errors.Write(FailureText(IDS_FAILED_STARTING_WINDOW, CurrentExceptionText()) + L"\r\n");
        return NotStarted;
    }
}

} // namespace

// A console program too may start at wWinMain: the run-time hands it the command line after
// the program's name, exactly as Tollgate.exe gets it.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    const std::wstring arguments = WithoutTrailingBlanks(commandLine);
    const CCommandLine line = ParseCommandLine(arguments.c_str());
    if (!IsConsoleCommand(line.command)) {
        return StartWindow(arguments);
    }
    CookieManager manager;
    CWin32RestartManager restart;
    return RunConsoleCommand(manager, line, restart);
}
