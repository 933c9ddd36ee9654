#include "app/ToolbarButton.h"

#include "app/ProductVersion.h"
#include "res/resource.h"
#include "store/Registry.h"
#include "res/StringLoader.h"

#include <objbase.h>

namespace {

const wchar_t ExtensionsKey[] = L"Software\\Microsoft\\Internet Explorer\\Extensions";

// The class by which the browser runs a program from a toolbar button.
const wchar_t ExecuteProgramClass[] = L"{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}";

// "Software\" before the product name in the per-user key's path.
constexpr std::size_t SoftwarePrefixLength = 9;

std::wstring GuidText(const GUID& guid) {
    wchar_t text[39] = {};
    ::StringFromGUID2(guid, text, 39);
    return text;
}

std::wstring IconReference(const std::wstring& programPath, unsigned id) {
    return FormatString(L"%s,%u", programPath.c_str(), id);
}

} // namespace

std::wstring ToolbarButtonKeyPath(const GUID& guid) {
    return std::wstring(ExtensionsKey) + L"\\" + GuidText(guid);
}

std::vector<CToolbarValue> ToolbarButtonValues(const std::wstring& programPath) {
    return {
        {L"CLSID", ExecuteProgramClass},
        {L"MenuText", LoadExpandedString(IDS_MENU_TEXT)},
        {L"MenuStatusBar", LoadExpandedString(IDS_MENU_STATUS_BAR)},
        {L"ButtonText", LoadExpandedString(IDS_BUTTON_TEXT)},
        {L"Default Visible", L"Yes"},
        {L"HotIcon", IconReference(programPath, IDI_TOOLBAR_HOT)},
        {L"Icon", IconReference(programPath, IDI_TOOLBAR)},
        {L"Exec", programPath},
    };
}

void RegisterToolbarButton(const GUID& guid) {
    const auto values = ToolbarButtonValues(GetModulePath(nullptr));
    CRegKey key;
    OpenKey(key, HKEY_LOCAL_MACHINE, ToolbarButtonKeyPath(guid), true);
    for (const auto& value : values) {
        SetStringValue(key.Get(), value.name, value.data);
    }
}

void UnregisterToolbarButton(const GUID& guid) {
    CRegKey extensions;
    if (OpenKey(extensions, HKEY_LOCAL_MACHINE, ExtensionsKey, false)) {
        DeleteKeyTree(extensions.Get(), GuidText(guid));
    }
    CRegKey software;
    if (OpenKey(software, HKEY_CURRENT_USER, L"Software", false)) {
        DeleteKeyTree(software.Get(), LoadExpandedString(IDS_REGKEY).substr(SoftwarePrefixLength));
    }
}
