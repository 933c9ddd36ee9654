#pragma once

#include <string>

// The program's ways through, chosen by its command line (without the program's name).
enum class CCommand { Register, Unregister, Run, List, ListCookies, Clean, Usage };

struct CCommandLine {
    CCommand command = CCommand::Run;
    // -list and -list -cookies: the file to write; empty writes to the console.
    std::wstring file;
    // -clean: sites last used more than this many days ago go.
    unsigned days = 0;
    bool dryRun = false;
    // -clean: closes the programs holding the browsers' stores first, and reopens them after.
    bool closeBrowsers = false;
};

// The largest DAYS that -clean takes: a century, far from overflowing a FILETIME difference.
constexpr unsigned LargestCleanDays = 36500;

// Every form is matched exactly and case-sensitively, words separated by single blanks:
// "-r", "-u", "-list [-cookies] [FILE]", "-clean DAYS [-dry-run | -close-browsers]", "-?". A file
// name may be quoted to hold blanks. Any other text, the empty one too, runs the window.
CCommandLine ParseCommandLine(const wchar_t* commandLine);
