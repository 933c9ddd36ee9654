#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Drives the real Tollgate.exe from outside, as a person would: starts it, finds its windows,
// reads and ticks its list views across the process boundary, presses buttons, switches tabs
// and answers message boxes.

// Polls `done` every 50 ms until it holds or `milliseconds` have passed.
bool WaitUntil(const std::function<bool()>& done, DWORD milliseconds);

// A window's text through WM_GETTEXT, which the system carries across processes.
std::wstring WindowText(HWND window);

struct CSeenMessageBox {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
};

class CProgramRun {
public:
    // Starts `program` (Tollgate.exe beside the test program unless given) with `arguments`
    // after the program's quoted path.
    explicit CProgramRun(const std::wstring& arguments, std::wstring program = std::wstring());
    CProgramRun(const CProgramRun&) = delete;
    CProgramRun& operator=(const CProgramRun&) = delete;
    // Ends the process if the test left it running.
    ~CProgramRun();

    bool Started() const noexcept { return static_cast<bool>(m_process); }
    HANDLE Process() const noexcept { return m_process.Get(); }
    bool HasExited(DWORD milliseconds = 0) const;
    // Waits until the process and every process it started have ended (an uninstaller hands
    // over to a copy of itself and exits at once).
    bool WaitForAllProcesses(DWORD milliseconds = 60000) const;
    // The exit code once the process has ended within `milliseconds`; STILL_ACTIVE otherwise.
    DWORD WaitForExit(DWORD milliseconds = 20000) const;

    // The process's visible top-level windows.
    std::vector<HWND> TopWindows() const;
    // The visible top-level dialog with this caption, waited for; null when none appears.
    HWND WaitForDialog(const std::wstring& caption, DWORD milliseconds = 20000) const;
    // The main window: the property sheet (the dialog that holds the tab control).
    HWND WaitForSheet(DWORD milliseconds = 20000) const;
    // The next message box, read but left open; an empty result when none appears.
    CSeenMessageBox WaitForMessageBox(DWORD milliseconds = 20000) const;

private:
    CKernelHandle m_job;
    CKernelHandle m_process;
    CKernelHandle m_thread;
    DWORD m_id = 0;
};

// What a run of the program from a console left behind.
struct CConsoleRun {
    DWORD exitCode = STILL_ACTIVE;
    // Standard output and error as the program wrote them (UTF-8 bytes).
    std::string output;
    std::string errors;
};

// Runs Tollgate.exe with `arguments`, its standard output and error redirected as a shell
// does, and waits until it ends (ended by force after `milliseconds`, exit code STILL_ACTIVE).
CConsoleRun RunFromConsole(const std::wstring& arguments, DWORD milliseconds = 60000);

// Runs `line` through "cmd /v:on /c" in the folder of Tollgate.exe and Tollgate.com, as typed at
// a prompt there: what cmd and the programs it ran wrote, and cmd's exit code.
CConsoleRun RunFromCmd(const std::wstring& line, DWORD milliseconds = 60000);

// A visible top-level dialog of any process with this caption, waited for; null when none.
HWND WaitForAnyDialog(const std::wstring& caption, DWORD milliseconds = 20000);

// Closes a dialog or message box with the given button id, as the button would.
void Answer(HWND dialog, int id);
// Presses a push button or ticks a check box through its own click handling.
void Click(HWND button);
// Switches the sheet to tab `index` through its tab control, as a click on the tab does.
void SelectTab(HWND sheet, int index);
// The sheet's current page.
HWND CurrentPage(HWND sheet);

// A list view of another process. Its item texts and states only travel through memory of
// that process, so the requests are built in a buffer allocated there.
class CRemoteListView {
public:
    CRemoteListView(HWND listView, HANDLE process);
    CRemoteListView(const CRemoteListView&) = delete;
    CRemoteListView& operator=(const CRemoteListView&) = delete;
    ~CRemoteListView();

    int Count() const;
    std::wstring Text(int item, int column) const;
    // Every row's texts, `columns` per row, in the list's order.
    std::vector<std::vector<std::wstring>> Rows(int columns) const;
    bool IsChecked(int item) const;
    void SetChecked(int item, bool checked) const;
    // The row whose first column is `text`; -1 when there is none.
    int Find(const std::wstring& text) const;

private:
    HWND m_listView;
    HANDLE m_process;
    void* m_remote = nullptr;
};
