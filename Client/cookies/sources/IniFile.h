#pragma once

#include <string>
#include <utility>
#include <vector>

// One "[name]" section of an ini file and its "key=value" lines, in file order.
struct CIniSection {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> values;

    // The value of the first line whose key is `key`, compared without regard to case; ""
    // when there is none.
    std::wstring Get(const std::wstring& key) const;
};

// An ini file's text in UTF-8, as Firefox writes "profiles.ini" (a byte-order mark is
// tolerated): lines end in a line feed, optionally after a carriage return; a line starting
// with ';' or '#' is a comment; blanks around names, keys and values are dropped. Lines before
// the first section and lines that are neither a section nor "key=value" are left out.
std::vector<CIniSection> ParseIni(const std::string& bytes);
