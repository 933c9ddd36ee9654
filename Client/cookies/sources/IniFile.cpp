#include "cookies/sources/IniFile.h"

#include <windows.h>

namespace {

constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr wchar_t Blanks[] = L" \t";

std::wstring Wide(const std::string& bytes, std::size_t from) {
    if (from >= bytes.size()) {
        return std::wstring();
    }
    const char* text = bytes.data() + from;
    const auto size = static_cast<int>(bytes.size() - from);
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text, size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, size, wide.data(), length);
    return wide;
}

std::wstring Trim(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::wstring::npos) {
        return std::wstring();
    }
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

} // namespace

std::wstring CIniSection::Get(const std::wstring& key) const {
    for (const auto& [each, value] : values) {
        if (::CompareStringOrdinal(each.c_str(), static_cast<int>(each.size()), key.c_str(),
                                   static_cast<int>(key.size()), TRUE) == CSTR_EQUAL) {
            return value;
        }
    }
    return std::wstring();
}

std::vector<CIniSection> ParseIni(const std::string& bytes) {
    const std::wstring text = Wide(bytes, bytes.rfind(ByteOrderMark, 0) == 0 ? 3 : 0);
    std::vector<CIniSection> sections;
    // Lines after a malformed section header belong to no section.
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        line = Trim(line);
        if (line.empty() || line.front() == L';' || line.front() == L'#') {
            continue;
        }
        if (line.front() == L'[') {
            const std::size_t close = line.find(L']');
            inSection = close != std::wstring::npos;
            if (inSection) {
                sections.push_back({Trim(line.substr(1, close - 1)), {}});
            }
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (inSection && equals != std::wstring::npos) {
            sections.back().values.emplace_back(Trim(line.substr(0, equals)),
                                                Trim(line.substr(equals + 1)));
        }
    }
    return sections;
}
