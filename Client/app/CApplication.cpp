#include "app/CApplication.h"

#include "app/CommandLine.h"
#include "app/ToolbarButton.h"
#include "res/resource.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "ui/ShowMessage.h"
#include "ui/StringLoader.h"

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
    : m_icons(::GetModuleHandleW(nullptr)), m_toolbarButton(ParseGuid(ToolbarButtonGuid)) {}

int CApplication::Main(const wchar_t* commandLine) {
    try {
        switch (ParseCommand(commandLine)) {
        case CCommand::Register:
            RegisterToolbarButton(m_toolbarButton);
            return 0;
        case CCommand::Unregister:
            UnregisterToolbarButton(m_toolbarButton);
            return 0;
        case CCommand::Run:
            ShowMessage(LoadExpandedString(IDS_MAIN_CAPTION), MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        return 0;
    } catch (const CException& e) {
        ShowMessage(
            FormatString(LoadExpandedString(IDS_UNHANDLED_EXCEPTION).c_str(), e.GetText().c_str()),
            MB_OK | MB_ICONERROR);
        return 1;
    }
}
