#include "store/AuthorizedStore.h"

#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "store/Registry.h"
#include "res/StringLoader.h"

namespace {

CRegKey OpenStore() {
    CRegKey key;
    OpenKey(key, HKEY_CURRENT_USER, LoadExpandedString(IDS_ALLOWED_KEY), true);
    return key;
}

} // namespace

std::vector<std::wstring> LoadAuthorizedSet() {
    std::vector<std::wstring> names;
    // Reading creates nothing: a load that promised to change nothing writes nothing.
    CRegKey key;
    if (!OpenKey(key, HKEY_CURRENT_USER, LoadExpandedString(IDS_ALLOWED_KEY), false)) {
        return names;
    }
    std::wstring name;
    for (DWORD index = 0; EnumValueName(key.Get(), index, name); ++index) {
        names.push_back(name);
    }
    return names;
}

void WriteAuthorized(const std::wstring& name) {
    const CRegKey key = OpenStore();
    SetStringValue(key.Get(), name, std::wstring());
}

void RemoveAuthorized(const std::wstring& name) {
    const CRegKey key = OpenStore();
    DeleteValue(key.Get(), name);
}

void PruneAuthorized(const std::vector<std::wstring>& names) {
    const CRegKey key = OpenStore();
    for (const std::wstring& name : names) {
        DeleteValue(key.Get(), name);
    }
}
