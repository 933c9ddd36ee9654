#include "ui/StatusText.h"

#include "res/resource.h"
#include "res/StringLoader.h"

namespace {

std::wstring Counted(unsigned count, UINT one, UINT many) {
    return count == 1 ? LoadExpandedString(one)
                      : FormatString(LoadExpandedString(many).c_str(), count);
}

} // namespace

std::wstring StatusText(const CLoadProgress& progress) {
    std::wstring text;
    if (progress.loading) {
        text = FormatString(LoadExpandedString(IDS_STATUS_LOADING).c_str(), progress.cookies);
    } else {
        const unsigned tenths = (progress.milliseconds + 50) / 100;
        text = FormatString(LoadExpandedString(IDS_STATUS_LOADED).c_str(),
                            Counted(progress.cookies, IDS_COOKIE_ONE, IDS_COOKIES).c_str(),
                            Counted(progress.sites, IDS_SITE_ONE, IDS_SITES).c_str(), tenths / 10,
                            tenths % 10);
    }
    for (const std::wstring& notice : progress.notices) {
        text += L"  " + notice;
    }
    return text;
}
