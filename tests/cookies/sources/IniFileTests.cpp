#include "cookies/sources/IniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each section as "[name]" followed by its lines as "key=value;".
std::wstring Dump(const std::vector<CIniSection>& sections) {
    std::wstring dump;
    for (const CIniSection& section : sections) {
        dump += L"[" + section.name + L"]";
        for (const auto& [key, value] : section.values) {
            dump += key + L"=" + value + L";";
        }
    }
    return dump;
}

struct CIniCase {
    const char* bytes;
    const wchar_t* sections;
};

const CIniCase IniCases[] = {
    // As Firefox writes it.
    {"[General]\nStartWithLastProfile=1\n\n[Profile0]\nName=default\nIsRelative=1\n"
     "Path=Profiles/ab.default\n",
     L"[General]StartWithLastProfile=1;[Profile0]Name=default;IsRelative=1;"
     L"Path=Profiles/ab.default;"},
    // UTF-8 after a byte-order mark, lines ended by CR LF, the last line by nothing.
    {"\xEF\xBB\xBF[Profile0]\r\nName=J\xC3\xBCrgen\r\nPath=C:\\\xE6\x97\xA5\xE6\x9C\xAC",
     L"[Profile0]Name=J\u00FCrgen;Path=C:\\\u65E5\u672C;"},
    // Comments, blank lines and the blanks around names, keys and values.
    {"; a comment\n# another\n\n [ Profile1 ] \n  Path = a b \t\r\nName=\n  ;Path=c\n",
     L"[Profile1]Path=a b;Name=;"},
    // Lines before any section, after a broken header, and lines that are no pair.
    {"Path=orphan\n[Profile0\nPath=lost\n[P]\nno pair\n=v\nk=v=w\n", L"[P]=v;k=v=w;"},
    {"", L""},
};

} // namespace

TEST(IniFile, ReadsSectionsAndPairsInFileOrder) {
    for (const CIniCase& each : IniCases) {
        EXPECT_EQ(each.sections, Dump(ParseIni(each.bytes))) << each.bytes;
    }
}

TEST(IniFile, AKeyIsFoundWithoutRegardToCaseAndTheFirstOfTwoCounts) {
    const std::vector<CIniSection> sections =
        ParseIni("[Profile0]\nisrelative=1\nPATH=first\nPath=second\n");
    ASSERT_EQ(1u, sections.size());
    EXPECT_EQ(L"1", sections[0].Get(L"IsRelative"));
    EXPECT_EQ(L"first", sections[0].Get(L"Path"));
    EXPECT_EQ(L"", sections[0].Get(L"Name"));
}
