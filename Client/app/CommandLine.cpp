#include "app/CommandLine.h"

#include <cwchar>

CCommand ParseCommand(const wchar_t* commandLine) {
    if (commandLine == nullptr) {
        return CCommand::Run;
    }
    if (std::wcscmp(commandLine, L"-r") == 0) {
        return CCommand::Register;
    }
    if (std::wcscmp(commandLine, L"-u") == 0) {
        return CCommand::Unregister;
    }
    return CCommand::Run;
}
