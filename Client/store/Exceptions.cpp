#include "store/Exceptions.h"

#include "store/ErrorText.h"

#include <exception>

CWin32Exception::CWin32Exception(DWORD code, const std::wstring& text)
    : CException(text.empty() ? FormatErrorText(code) : text, code) {}

namespace {

std::wstring FromAnsi(const char* text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) {
        return std::wstring();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

} // namespace

std::wstring CurrentExceptionText() {
    try {
        throw;
    } catch (const CException& e) {
        return e.GetText();
    } catch (const std::exception& e) {
        return FromAnsi(e.what());
    } catch (...) {
        return std::wstring();
    }
}
