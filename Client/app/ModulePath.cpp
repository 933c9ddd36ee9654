#include "app/ModulePath.h"

#include "store/ErrorText.h"
#include "store/Exceptions.h"

#include <algorithm>
#include <vector>

std::wstring GetModulePath(HMODULE module) {
    // The longest path the system allows, terminator included.
    constexpr DWORD largest = 32768;
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const auto size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameW(module, buffer.data(), size);
        if (length == 0) {
            ThrowLastError();
        }
        // A result that fills the buffer is cut short: Windows then reports error 122, Wine
        // only leaves out the terminator. Either way, read again into a larger buffer.
        if (length < size) {
            return std::wstring(buffer.data(), length);
        }
        if (size >= largest) {
            throw CWin32Exception(ERROR_INSUFFICIENT_BUFFER, std::wstring());
        }
        buffer.resize(std::min(size * 2, largest));
    }
}
