#include "app/CApplication.h"

#include "app/CommandLine.h"
#include "app/ConsoleCommands.h"
#include "app/ToolbarButton.h"
#include "framework/CallbackBarrier.h"
#include "cookies/CookieManager.h"
#include "res/resource.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "ui/CMainDlg.h"
#include "ui/CTransitionDlg.h"
#include "ui/CallbackReport.h"
#include "ui/ShowMessage.h"
#include "res/StringLoader.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

const wchar_t ToolbarButtonGuid[] = L"{334C4A3A-7B0F-4c55-B73F-63B37865E8FA}";

GUID ParseGuid(const wchar_t* text) {
    GUID guid = {};
    ThrowIfFailed(::IIDFromString(text, &guid));
    return guid;
}

} // namespace

CApplication::CApplication()
    : m_icons(::GetModuleHandleW(nullptr)), m_toolbarButton(ParseGuid(ToolbarButtonGuid)) {
    SetCallbackReporter(ReportUnhandledException);
}

CApplication::~CApplication() {
    m_module.Term();
}

int CApplication::Main(CookieManager& manager, const wchar_t* commandLine) {
    const CCommandLine line = ParseCommandLine(commandLine);
    if (IsConsoleCommand(line.command)) {
        return RunConsoleCommand(manager, line, m_restartManager);
    }
    try {
        switch (line.command) {
        case CCommand::Register:
            RegisterToolbarButton(m_toolbarButton);
            CTransitionDlg(m_icons).DoModal(::GetActiveWindow());
            return 0;
        case CCommand::Unregister:
            UnregisterToolbarButton(m_toolbarButton);
            return 0;
        default:
            break;
        }
        StartUp(manager);
        const auto result = static_cast<int>(Run(manager));
        ShutDown(manager);
        return result;
    } catch (const CException& e) {
        ShowMessage(
            FormatString(LoadExpandedString(IDS_UNHANDLED_EXCEPTION).c_str(), e.GetText().c_str()),
            MB_OK | MB_ICONERROR);
        return 1;
    }
}

void CApplication::StartUp(CookieManager& manager) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    if (!::InitCommonControlsEx(&controls)) {
        throw CException(L"AtlInitCommonControls failed.", 0);
    }
    ThrowIfFailed(m_module.Init(::GetModuleHandleW(nullptr)));
    // Before the shell runs anything for the window: opening a page, deleting folders.
    m_apartment.emplace();
    m_richEdit.Reset(::LoadLibraryW(L"RICHED20.DLL"));
    if (!m_richEdit) {
        ThrowLastError();
    }
    manager.PrepareSources();
}

INT_PTR CApplication::Run(CookieManager& manager) {
    manager.StartLoading();
    CBrowserCloser closer(m_restartManager);
    CMainDlg window(manager, m_icons, closer);
    const INT_PTR result = window.DoModal(::GetActiveWindow());
    // The browsers the user closed from the window open again as the program ends.
    closer.Reopen();
    return result;
}

void CApplication::ShutDown(CookieManager& manager) {
    manager.WaitForLoading();
    m_richEdit.Reset();
    m_apartment.reset();
    m_module.Term();
}
