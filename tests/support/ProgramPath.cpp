#include "support/ProgramPath.h"

#include <windows.h>

#include <vector>

std::wstring PathBesideTestProgram(const std::wstring& name) {
    std::vector<wchar_t> buffer(32768);
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}
