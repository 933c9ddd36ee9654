#include "app/CsvText.h"

#include <string_view>

namespace {

bool NeedsQuotes(const std::wstring& field) {
    return field.find_first_of(L",\"\r\n") != std::wstring::npos ||
           (!field.empty() && (field.front() == L' ' || field.back() == L' '));
}

bool LooksLikeFormula(const std::wstring& field) {
    return !field.empty() &&
           std::wstring_view(L"=+-@\t\r").find(field.front()) != std::wstring_view::npos;
}

std::wstring CsvField(const std::wstring& field) {
    const std::wstring text = LooksLikeFormula(field) ? L'\'' + field : field;
    if (!NeedsQuotes(text)) {
        return text;
    }
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        quoted += c;
        if (c == L'"') {
            quoted += c;
        }
    }
    return quoted + L"\"";
}

} // namespace

std::wstring CsvLine(const std::vector<std::wstring>& fields) {
    std::wstring line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) {
            line += L',';
        }
        line += CsvField(fields[i]);
    }
    return line + L"\r\n";
}
