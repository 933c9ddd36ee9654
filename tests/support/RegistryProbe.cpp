#include "support/RegistryProbe.h"

#include <gtest/gtest.h>

#include <vector>

bool KeyExists(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

void CreateKey(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    ::RegCloseKey(key);
}

std::wstring ReadString(HKEY root, const wchar_t* path, const wchar_t* name) {
    std::vector<wchar_t> data(4096);
    DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (::RegGetValueW(root, path, name, RRF_RT_REG_SZ, nullptr, data.data(), &bytes) !=
        ERROR_SUCCESS) {
        return std::wstring();
    }
    return data.data();
}
