#include "cookies/sources/CookieFile.h"

#include <optional>

namespace {

constexpr std::size_t LinesPerRecord = 9;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        at = end + 1;
    }
    return lines;
}

std::optional<DWORD> ParseNumber(const std::string& line) {
    if (line.empty() || line.size() > 10) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    for (char c : line) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0xFFFFFFFFULL) {
        return std::nullopt;
    }
    return static_cast<DWORD>(value);
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), size);
    wide.resize(static_cast<std::size_t>(length));
    return wide;
}

bool ParseRecord(const std::string* lines, CCookieFileRecord& record) {
    const std::string& where = lines[2];
    const std::size_t slash = where.find('/');
    const std::optional<DWORD> flags = ParseNumber(lines[3]);
    const std::optional<DWORD> expiresLow = ParseNumber(lines[4]);
    const std::optional<DWORD> expiresHigh = ParseNumber(lines[5]);
    const std::optional<DWORD> createdLow = ParseNumber(lines[6]);
    const std::optional<DWORD> createdHigh = ParseNumber(lines[7]);
    if (where.empty() || slash == 0 || !flags || !expiresLow || !expiresHigh || !createdLow ||
        !createdHigh || lines[8] != "*") {
        return false;
    }
    record.name = Widen(lines[0]);
    record.host = Widen(where.substr(0, slash));
    record.path = slash == std::string::npos ? std::wstring() : Widen(where.substr(slash));
    record.flags = *flags;
    record.expires = FILETIME{*expiresLow, *expiresHigh};
    record.created = FILETIME{*createdLow, *createdHigh};
    return true;
}

} // namespace

bool ParseCookieFile(const std::string& text, std::vector<CCookieFileRecord>& records) {
    records.clear();
    if (text.size() > LargestCookieFile) {
        return false;
    }
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty() || lines.size() % LinesPerRecord != 0) {
        return false;
    }
    for (std::size_t at = 0; at < lines.size(); at += LinesPerRecord) {
        CCookieFileRecord record;
        if (!ParseRecord(&lines[at], record)) {
            records.clear();
            return false;
        }
        records.push_back(std::move(record));
    }
    return true;
}
