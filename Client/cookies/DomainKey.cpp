#include "cookies/DomainKey.h"

std::wstring DomainKeyFromHost(const std::wstring& host) {
    std::wstring key = host;
    int dots = 0;
    for (std::size_t i = host.size(); i-- > 1;) {
        if (host[i] == L'.' && ++dots == 2) {
            key = host.substr(i + 1);
            break;
        }
    }
    // Only A to Z fold: the key is also a registry value name and must not depend on locale.
    for (wchar_t& c : key) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return key;
}
