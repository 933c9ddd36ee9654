#pragma once

#include <string>
#include <vector>

// One CSV line after RFC 4180: fields separated by commas, a field quoted when it holds a
// comma, a quote, a line break or an outer blank (quotes doubled inside), ended by CR LF.
std::wstring CsvLine(const std::vector<std::wstring>& fields);
