#pragma once

#include <string>

// The domain key of a host: its last two dot-separated labels, lower-cased. The character at
// index 0 is never taken as a separator, so ".a.b" keeps its leading dot.
std::wstring DomainKeyFromHost(const std::wstring& host);
