#include "app/ConsoleNoticeText.h"

#include "res/StringLoader.h"
#include "res/resource.h"
#include "ui/NoticeText.h"

std::wstring ConsoleNoticeText(const CStoreNotice& notice, bool cleaning) {
    if (notice.problem != CStoreProblem::BrowserOpen) {
        return NoticeText(notice);
    }
    const std::wstring name = BrowserName(notice);
    return FormatString(
        LoadExpandedString(cleaning ? IDS_CONSOLE_BROWSER_OPEN : IDS_CONSOLE_BROWSER_OPEN_LIST)
            .c_str(),
        name.c_str(), name.c_str());
}

std::wstring ConsoleProblemText(const CStoreNotice& notice) {
    switch (notice.problem) {
    case CStoreProblem::BrowserOpen:
        return FormatString(LoadExpandedString(IDS_CONSOLE_DETAILS_BROWSER_OPEN).c_str(),
                            notice.browser.c_str(), notice.profile.c_str());
    case CStoreProblem::CookieGone:
        return FormatString(LoadExpandedString(IDS_CONSOLE_DETAILS_GONE).c_str(),
                            notice.item.c_str(), notice.host.c_str(), notice.browser.c_str(),
                            notice.profile.c_str());
    default:
        return ProblemText(notice);
    }
}
