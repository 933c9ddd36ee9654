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
    if (progress.loading) {
        return FormatString(LoadExpandedString(IDS_STATUS_LOADING).c_str(), progress.cookies);
    }
    const unsigned tenths = (progress.milliseconds + 50) / 100;
    return FormatString(LoadExpandedString(IDS_STATUS_LOADED).c_str(),
                        Counted(progress.cookies, IDS_COOKIE_ONE, IDS_COOKIES).c_str(),
                        Counted(progress.sites, IDS_SITE_ONE, IDS_SITES).c_str(), tenths / 10,
                        tenths % 10);
}

std::wstring WidestStatusText() {
    CLoadProgress widest;
    widest.cookies = 88888;
    widest.sites = 8888;
    widest.milliseconds = 88800;
    // The summary says more than the count while loading does.
    return StatusText(widest);
}

std::wstring NoticeLineText(const CLoadProgress& progress) {
    std::wstring text;
    // Two profiles of one running browser say the same: once is enough.
    std::vector<std::wstring> told;
    for (const CStoreNotice& notice : progress.notices) {
        std::wstring line = NoticeText(notice);
        if (std::find(told.begin(), told.end(), line) == told.end()) {
            text += (text.empty() ? L"" : L"  ") + line;
            told.push_back(std::move(line));
        }
    }
    return text;
}
