#include "ui/ShowMessage.h"

#include "res/resource.h"
#include "ui/StringLoader.h"

void ShowMessage(const std::wstring& text, UINT type) {
    const std::wstring caption = LoadExpandedString(IDS_APPNAME);
    ::MessageBoxW(::GetActiveWindow(), text.c_str(), caption.c_str(), type);
}
