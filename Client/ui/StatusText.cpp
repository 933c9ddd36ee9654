#include "ui/StatusText.h"

#include "res/StringLoader.h"
#include "res/resource.h"
#include "ui/NoticeText.h"

#include <algorithm>
#include <vector>

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
    // Two profiles of one running browser say the same: once is enough.
    std::vector<std::wstring> told;
    for (const CStoreNotice& notice : progress.notices) {
        std::wstring line = NoticeText(notice);
        if (std::find(told.begin(), told.end(), line) == told.end()) {
            text += L"  " + line;
            told.push_back(std::move(line));
        }
    }
    return text;
}
