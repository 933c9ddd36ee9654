#include "store/Registry.h"

#include "store/ErrorText.h"

#include <algorithm>
#include <vector>

namespace {

constexpr REGSAM ReadWrite = KEY_READ | KEY_WRITE;

} // namespace

bool OpenKey(CRegKey& key, HKEY parent, const std::wstring& subKey, bool create) {
    key.Reset();
    const LSTATUS opened = ::RegOpenKeyExW(parent, subKey.c_str(), 0, ReadWrite, key.Receive());
    if (opened == ERROR_SUCCESS) {
        return true;
    }
    if (opened != ERROR_FILE_NOT_FOUND) {
        ThrowIfWin32Error(static_cast<DWORD>(opened));
    }
    if (create) {
        ThrowIfWin32Error(static_cast<DWORD>(::RegCreateKeyExW(parent, subKey.c_str(), 0, nullptr,
                                                               REG_OPTION_NON_VOLATILE, ReadWrite,
                                                               nullptr, key.Receive(), nullptr)));
    }
    return false;
}

void SetStringValue(HKEY key, const std::wstring& name, const std::wstring& text) {
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    ThrowIfWin32Error(static_cast<DWORD>(::RegSetValueExW(
        key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes)));
}

bool GetStringValue(HKEY key, const std::wstring& name, std::wstring& text) {
    for (;;) {
        DWORD bytes = 0;
        LSTATUS status =
            ::RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
        if (status == ERROR_FILE_NOT_FOUND || status == ERROR_UNSUPPORTED_TYPE) {
            return false;
        }
        ThrowIfWin32Error(static_cast<DWORD>(status));
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = ::RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(),
                                &bytes);
        // Someone made it longer in between: ask again.
        if (status != ERROR_MORE_DATA) {
            ThrowIfWin32Error(static_cast<DWORD>(status));
            text.assign(buffer.data());
            return true;
        }
    }
}

void DeleteValue(HKEY key, const std::wstring& name) {
    const LSTATUS deleted = ::RegDeleteValueW(key, name.c_str());
    if (deleted != ERROR_FILE_NOT_FOUND) {
        ThrowIfWin32Error(static_cast<DWORD>(deleted));
    }
}

void DeleteKeyTree(HKEY key, const std::wstring& subKey) {
    const LSTATUS deleted = ::RegDeleteTreeW(key, subKey.c_str());
    if (deleted != ERROR_FILE_NOT_FOUND) {
        ThrowIfWin32Error(static_cast<DWORD>(deleted));
    }
}

bool EnumValueName(HKEY key, DWORD index, std::wstring& name) {
    // Value names have at most 16,383 characters; the buffer doubles from 256 up to that.
    constexpr DWORD largest = 16384;
    std::vector<wchar_t> buffer(256);
    for (;;) {
        auto length = static_cast<DWORD>(buffer.size());
        const LSTATUS status =
            ::RegEnumValueW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS) {
            name.assign(buffer.data(), length);
            return true;
        }
        if (status == ERROR_NO_MORE_ITEMS) {
            return false;
        }
        if (status != ERROR_MORE_DATA || buffer.size() >= largest) {
            ThrowIfWin32Error(static_cast<DWORD>(status));
        }
        buffer.resize(std::min<std::size_t>(buffer.size() * 2, largest));
    }
}
