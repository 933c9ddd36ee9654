#include "store/PlacementStore.h"

#include "res/resource.h"
#include "store/Registry.h"
#include "res/StringLoader.h"

#include <cstdio>
#include <string>

namespace {

constexpr wchar_t ValueName[] = L"Placement";

} // namespace

std::optional<CSavedPlacement> LoadPlacement() {
    CRegKey key;
    std::wstring text;
    if (!OpenKey(key, HKEY_CURRENT_USER, LoadExpandedString(IDS_REGKEY), false) ||
        !GetStringValue(key.Get(), ValueName, text)) {
        return std::nullopt;
    }
    CSavedPlacement placement;
    int maximized = 0;
    wchar_t rest = 0;
    RECT& r = placement.normal;
    if (std::swscanf(text.c_str(), L"%ld %ld %ld %ld %d %lc", &r.left, &r.top, &r.right, &r.bottom,
                     &maximized, &rest) != 5 ||
        r.right <= r.left || r.bottom <= r.top || (maximized != 0 && maximized != 1)) {
        return std::nullopt;
    }
    placement.maximized = maximized == 1;
    return placement;
}

void SavePlacement(const CSavedPlacement& placement) {
    CRegKey key;
    OpenKey(key, HKEY_CURRENT_USER, LoadExpandedString(IDS_REGKEY), true);
    const RECT& r = placement.normal;
    SetStringValue(key.Get(), ValueName,
                   FormatString(L"%ld %ld %ld %ld %d", r.left, r.top, r.right, r.bottom,
                                placement.maximized ? 1 : 0));
}
