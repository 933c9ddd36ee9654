#include "res/StringLoader.h"

#include "res/resource.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace {

// The value is loaded only for a text that holds the token: the rows of a load format
// thousands of texts, and most hold none.
void ReplaceAll(std::wstring& text, const std::wstring& token,
                const std::function<std::wstring()>& value) {
    std::size_t at = text.find(token);
    if (at == std::wstring::npos) {
        return;
    }
    const std::wstring replacement = value();
    for (; at != std::wstring::npos; at = text.find(token, at + replacement.size())) {
        text.replace(at, token.size(), replacement);
    }
}

} // namespace

std::wstring FailureText(UINT fixedTextId, const std::wstring& reason) {
    return LoadExpandedString(fixedTextId) + L"  " + reason;
}

std::wstring LoadPlainString(UINT id) {
    // With a zero length LoadStringW hands out a read-only pointer into the resource itself.
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 && text != nullptr ? std::wstring(text, static_cast<std::size_t>(length))
                                         : std::wstring();
}

std::wstring ExpandString(UINT id, const std::function<std::wstring(UINT)>& load) {
    std::wstring text = load(id);
    if (id == IDS_APPNAME) {
        return text;
    }
    // 163 and 169 never expand "<WEBSITE>", and 163 never "<REGKEY>": that keeps it finite.
    if (id != IDS_REGKEY && id != IDS_WEBSITE) {
        ReplaceAll(text, L"<WEBSITE>", [&] { return ExpandString(IDS_WEBSITE, load); });
    }
    if (id != IDS_REGKEY) {
        ReplaceAll(text, L"<REGKEY>", [&] { return ExpandString(IDS_REGKEY, load); });
    }
    ReplaceAll(text, L"<APPNAME>", [&] { return ExpandString(IDS_APPNAME, load); });
    return text;
}

std::wstring LoadExpandedString(UINT id) {
    return ExpandString(id, LoadPlainString);
}

std::wstring FormatString(const wchar_t* format, ...) {
    // _vsnwprintf has the Windows meaning of "%s" in a wide format (a wide string) on every
    // compiler; the C99 vswprintf of mingw would read a narrow one.
    constexpr std::size_t limit = 1 << 20;
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        const int written = ::_vsnwprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (written >= 0 && static_cast<std::size_t>(written) < buffer.size()) {
            return std::wstring(buffer.data(), static_cast<std::size_t>(written));
        }
        if (buffer.size() >= limit) {
            return std::wstring(); // an invalid format, not a long text
        }
        buffer.resize(buffer.size() * 2);
    }
}
