#pragma once

#include <string>
#include <vector>

// One CSV line after RFC 4180: fields separated by commas, a field quoted when it holds a
// comma, a quote, a line break or an outer blank (quotes doubled inside), ended by CR LF.
// Web sites choose cookies' names and paths: a field that a spreadsheet would take for a
// formula (one that starts with '=', '+', '-', '@', a tab or a carriage return) is written
// after a "'", which shows it as text.
std::wstring CsvLine(const std::vector<std::wstring>& fields);
