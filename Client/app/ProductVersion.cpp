#include "app/ProductVersion.h"

#include "store/Exceptions.h"
#include "res/StringLoader.h"

#include <cwchar>
#include <vector>

namespace {

// The longest path the system hands out, with room for its terminator.
constexpr DWORD longestPath = 32768;

[[noreturn]] void ThrowMissingEntry(const std::wstring& query) {
    throw CException(FormatString(L"Failed retrieving '%s' from version resource", query.c_str()),
                     0);
}

struct CTranslation {
    WORD language;
    WORD codePage;
};

} // namespace

std::wstring GetModulePath(HMODULE module, DWORD initialSize) {
    std::wstring path(initialSize > 0 ? initialSize : 1, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            throw CWin32Exception(::GetLastError(), L"");
        }
        // A path that fills the buffer was cut short: Windows says so with error 122, Wine
        // does not even terminate it. Either way only a shorter result is whole.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= longestPath) {
            throw CWin32Exception(ERROR_INSUFFICIENT_BUFFER, L"");
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ReadProductVersion(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
        throw CWin32Exception(::GetLastError(), L"");
    }
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(file.c_str(), 0, size, data.data())) {
        throw CWin32Exception(::GetLastError(), L"");
    }

    const std::wstring translationQuery = L"\\VarFileInfo\\Translation";
    void* found = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), translationQuery.c_str(), &found, &length) ||
        length < sizeof(CTranslation)) {
        ThrowMissingEntry(translationQuery);
    }
    const auto* translation = static_cast<const CTranslation*>(found);
    const std::wstring versionQuery = FormatString(L"\\StringFileInfo\\%04hX%04hX\\ProductVersion",
                                                   translation->language, translation->codePage);
    if (!::VerQueryValueW(data.data(), versionQuery.c_str(), &found, &length) || length == 0) {
        ThrowMissingEntry(versionQuery);
    }
    const auto* text = static_cast<const wchar_t*>(found);
    std::wstring version(text, ::wcsnlen(text, length));

    for (std::size_t at = version.find(L", "); at != std::wstring::npos;
         at = version.find(L", ", at + 1)) {
        version.replace(at, 2, L".");
    }
    return version;
}

std::wstring GetProductVersion() {
    return ReadProductVersion(GetModulePath(nullptr));
}
