#include "framework/OutputStream.h"

#include <string>

namespace {

bool IsUsable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool IsConsoleHandle(HANDLE handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode) != FALSE;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          length, nullptr, nullptr);
    return bytes;
}

} // namespace

COutputStream::COutputStream(HANDLE borrowed, CFileHandle owned)
    : m_handle(owned ? owned.Get() : borrowed), m_owned(std::move(owned)),
      m_console(IsConsoleHandle(m_handle)) {}

COutputStream COutputStream::Standard(DWORD which) {
    const HANDLE given = ::GetStdHandle(which);
    if (IsUsable(given)) {
        return COutputStream(given, CFileHandle());
    }
    // Fails when already attached (the other stream did it) or when the parent has none.
    ::AttachConsole(ATTACH_PARENT_PROCESS);
    CFileHandle console(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    if (!console) {
        return COutputStream();
    }
    return COutputStream(nullptr, std::move(console));
}

bool COutputStream::Create(const std::wstring& path) {
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    m_owned = std::move(file);
    m_handle = m_owned.Get();
    m_console = false;
    return true;
}

bool COutputStream::Write(const std::wstring& text) {
    if (m_handle == nullptr) {
        return true;
    }
    if (m_console) {
        // A console shows every character as it is; no code page stands between.
        DWORD written = 0;
        return ::WriteConsoleW(m_handle, text.data(), static_cast<DWORD>(text.size()), &written,
                               nullptr) &&
               written == text.size();
    }
    const std::string bytes = Utf8(text);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(m_handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                         &written, nullptr) ||
            written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}
