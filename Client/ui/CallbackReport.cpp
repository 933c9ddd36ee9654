#include "framework/CallbackBarrier.h"

#include "res/resource.h"
#include "store/Exceptions.h"
#include "ui/ShowMessage.h"
#include "ui/StringLoader.h"

#include <exception>
#include <string>

namespace {

std::wstring Widen(const char* text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) {
        return std::wstring();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

std::wstring CurrentExceptionText() {
    try {
        throw;
    } catch (const CException& e) {
        return e.GetText();
    } catch (const std::exception& e) {
        return Widen(e.what());
    } catch (...) {
        return std::wstring();
    }
}

} // namespace

void ReportCallbackException() noexcept {
    try {
        const std::wstring text = CurrentExceptionText();
        ShowMessage(FormatString(LoadExpandedString(IDS_UNHANDLED_EXCEPTION).c_str(), text.c_str()),
                    MB_OK | MB_ICONERROR);
    } catch (...) {
        // Out of memory while reporting: nothing is left to report with.
    }
}
