#include "app/CommandLine.h"

#include <optional>
#include <vector>

namespace {

struct CWord {
    std::wstring text;
    bool quoted = false;

    // One of the command words, which are never quoted.
    bool Is(const wchar_t* word) const { return !quoted && text == word; }
};

using CWords = std::vector<CWord>;

// Splits at single blanks; a word that begins with a quote runs to the next quote. Nothing
// when the text is not made of such words (doubled or outer blanks, a stray quote).
std::optional<CWords> SplitWords(const std::wstring& text) {
    CWords words;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = 0;
        CWord word;
        if (text[at] == L'"') {
            const std::size_t close = text.find(L'"', at + 1);
            if (close == std::wstring::npos || close == at + 1) {
                return std::nullopt;
            }
            word = {text.substr(at + 1, close - at - 1), true};
            end = close + 1;
        } else {
            end = text.find(L' ', at);
            if (end == std::wstring::npos) {
                end = text.size();
            }
            word.text = text.substr(at, end - at);
            if (word.text.empty() || word.text.find(L'"') != std::wstring::npos) {
                return std::nullopt;
            }
        }
        words.push_back(std::move(word));
        if (end == text.size()) {
            return words;
        }
        if (text[end] != L' ' || end + 1 == text.size()) {
            return std::nullopt;
        }
        at = end + 1;
    }
    return words;
}

// Decimal digits only, no sign and no leading zero beyond "0" itself.
std::optional<unsigned> ParseDays(const CWord& days) {
    const std::wstring& word = days.text;
    if (days.quoted) {
        return std::nullopt;
    }
    if (word.empty() || word.size() > 5 || (word.size() > 1 && word[0] == L'0')) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (wchar_t c : word) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    if (value > LargestCleanDays) {
        return std::nullopt;
    }
    return value;
}

CCommandLine Only(CCommand command) {
    CCommandLine line;
    line.command = command;
    return line;
}

// A file name never looks like one of the words: "-list -x" is no list.
bool IsFileName(const CWord& word) {
    return word.text[0] != L'-';
}

CCommandLine ParseList(const CWords& words) {
    CCommandLine run;
    CCommandLine list = Only(CCommand::List);
    std::size_t next = 1;
    if (next < words.size() && words[next].Is(L"-cookies")) {
        list.command = CCommand::ListCookies;
        ++next;
    }
    if (next < words.size()) {
        if (!IsFileName(words[next])) {
            return run;
        }
        list.file = words[next++].text;
    }
    return next == words.size() ? list : run;
}

CCommandLine ParseClean(const CWords& words) {
    CCommandLine run;
    if (words.size() < 2 || words.size() > 3) {
        return run;
    }
    const std::optional<unsigned> days = ParseDays(words[1]);
    if (!days) {
        return run;
    }
    CCommandLine clean = Only(CCommand::Clean);
    clean.days = *days;
    // A dry run changes nothing, so it closes nothing either: one option or the other.
    if (words.size() == 3) {
        if (words[2].Is(L"-dry-run")) {
            clean.dryRun = true;
        } else if (words[2].Is(L"-close-browsers")) {
            clean.closeBrowsers = true;
        } else {
            return run;
        }
    }
    return clean;
}

} // namespace

CCommandLine ParseCommandLine(const wchar_t* commandLine) {
    if (commandLine == nullptr) {
        return {};
    }
    const std::wstring text = commandLine;
    if (text == L"-r") {
        return Only(CCommand::Register);
    }
    if (text == L"-u") {
        return Only(CCommand::Unregister);
    }
    if (text == L"-?") {
        return Only(CCommand::Usage);
    }
    const std::optional<CWords> words = SplitWords(text);
    if (!words || words->empty()) {
        return {};
    }
    if ((*words)[0].Is(L"-list")) {
        return ParseList(*words);
    }
    if ((*words)[0].Is(L"-clean")) {
        return ParseClean(*words);
    }
    return {};
}
