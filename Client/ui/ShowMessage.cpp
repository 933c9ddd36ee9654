#include "ui/ShowMessage.h"

#include "framework/OutputStream.h"
#include "res/resource.h"
#include "res/StringLoader.h"

namespace {

// A message as console lines: each line feed becomes a line end, and one ends the message.
std::wstring AsLines(const std::wstring& text) {
    std::wstring lines;
    for (wchar_t c : text) {
        if (c == L'\n') {
            lines += L"\r\n";
        } else if (c != L'\r') {
            lines += c;
        }
    }
    return lines + L"\r\n";
}

} // namespace

int ShowMessage(const std::wstring& text, UINT type) {
    if (COutputStream* stream = GetMessageStream()) {
        stream->Write(AsLines(text));
        return IDOK;
    }
    const std::wstring caption = LoadExpandedString(IDS_APPNAME);
    return ::MessageBoxW(::GetActiveWindow(), text.c_str(), caption.c_str(), type);
}
