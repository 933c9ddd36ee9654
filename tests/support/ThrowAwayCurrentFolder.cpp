#include "support/ThrowAwayCurrentFolder.h"

#include <windows.h>

namespace {

constexpr wchar_t Canary[] = L"\\canary.txt";

} // namespace

CThrowAwayCurrentFolder::CThrowAwayCurrentFolder() {
    wchar_t buffer[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, buffer);
    m_previous = buffer;
    ::GetTempPathW(MAX_PATH, buffer);
    m_folder = std::wstring(buffer) + L"tollgate-cwd-" + std::to_wstring(::GetCurrentProcessId()) +
               L"-" + std::to_wstring(::GetTickCount64());
    ::CreateDirectoryW(m_folder.c_str(), nullptr);
    const HANDLE file = ::CreateFileW((m_folder + Canary).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ::CloseHandle(file);
    ::SetCurrentDirectoryW(m_folder.c_str());
}

CThrowAwayCurrentFolder::~CThrowAwayCurrentFolder() {
    ::SetCurrentDirectoryW(m_previous.c_str());
    ::DeleteFileW((m_folder + Canary).c_str());
    ::RemoveDirectoryW(m_folder.c_str());
}

bool CThrowAwayCurrentFolder::CanaryAlive() const {
    return ::GetFileAttributesW((m_folder + Canary).c_str()) != INVALID_FILE_ATTRIBUTES;
}
