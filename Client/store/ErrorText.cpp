#include "store/ErrorText.h"

#include "store/Exceptions.h"
#include "res/StringLoader.h"

#include <oleauto.h>

#include <cwctype>

std::wstring FormatErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) {
        text.assign(buffer, length);
    }
    ::LocalFree(buffer);
    std::size_t end = text.size();
    while (end > 0 && std::iswspace(text[end - 1])) {
        --end;
    }
    text.erase(end);
    return text;
}

namespace {

std::wstring ComposeHResultText(HRESULT hr) {
    IErrorInfo* info = nullptr;
    if (::GetErrorInfo(0, &info) == S_OK && info != nullptr) {
        BSTR description = nullptr;
        std::wstring text;
        if (SUCCEEDED(info->GetDescription(&description)) && description != nullptr) {
            text.assign(description, ::SysStringLen(description));
        }
        ::SysFreeString(description);
        info->Release();
        return text;
    }
    std::wstring text = FormatErrorText(static_cast<DWORD>(hr));
    if (!text.empty()) {
        return text;
    }
    const auto code = static_cast<unsigned long>(hr);
    if (code > 0x80040200UL && code <= 0x8004FFFFUL) {
        return FormatString(L"IDispatch error #%d",
                            static_cast<int>(static_cast<WORD>(code - 0x80040200UL)));
    }
    return FormatString(L"Unknown error 0x%0lX", code);
}

} // namespace

void ThrowIfWin32Error(DWORD code) {
    if (code != ERROR_SUCCESS) {
        throw CWin32Exception(code, FormatErrorText(code));
    }
}

void ThrowIfFailed(HRESULT hr) {
    if (FAILED(hr)) {
        throw CComException(ComposeHResultText(hr), hr);
    }
}

void ThrowLastError() {
    const DWORD code = ::GetLastError();
    throw CWin32Exception(code, std::wstring());
}
