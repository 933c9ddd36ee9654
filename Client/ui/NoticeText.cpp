#include "ui/NoticeText.h"

#include "cookies/CCookieDomain.h"
#include "res/StringLoader.h"
#include "res/resource.h"

#include <algorithm>

namespace {

// "The cookies of Google Chrome (Default) could not be read.  <why>" and its like.
std::wstring StoreText(UINT format, const CStoreNotice& notice) {
    const std::wstring reason = notice.problem == CStoreProblem::UnknownLayout
                                    ? LoadExpandedString(IDS_STORE_UNKNOWN_LAYOUT)
                                    : notice.reason;
    return FormatString(LoadExpandedString(format).c_str(), notice.browser.c_str(),
                        notice.profile.c_str(), reason.c_str());
}

} // namespace

std::wstring BrowserName(const CStoreNotice& notice) {
    return TypeTextForKinds(KindBit(notice.kind));
}

std::wstring NamesText(const std::vector<std::wstring>& names) {
    if (names.empty()) {
        return {};
    }
    std::wstring text = names.front();
    for (std::size_t next = 1; next + 1 < names.size(); ++next) {
        text = FormatString(LoadExpandedString(IDS_NAMES_MORE).c_str(), text.c_str(),
                            names[next].c_str());
    }
    if (names.size() > 1) {
        text = FormatString(LoadExpandedString(IDS_NAMES_TWO).c_str(), text.c_str(),
                            names.back().c_str());
    }
    return text;
}

std::vector<std::wstring> BrowserNames(const CStoreNotices& notices) {
    std::vector<std::wstring> names;
    for (const CStoreNotice& notice : notices) {
        std::wstring name = BrowserName(notice);
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

std::wstring NoticeText(const CStoreNotice& notice) {
    switch (notice.problem) {
    case CStoreProblem::BrowserOpen: {
        const std::wstring name = BrowserName(notice);
        return FormatString(LoadExpandedString(IDS_BROWSER_OPEN).c_str(), name.c_str(),
                            name.c_str());
    }
    case CStoreProblem::NotADatabase:
    case CStoreProblem::UnknownLayout:
    case CStoreProblem::Damaged:
    case CStoreProblem::Unreadable:
        return StoreText(IDS_STORE_UNREADABLE, notice);
    case CStoreProblem::HasTrigger:
        return StoreText(IDS_STORE_HAS_TRIGGER, notice);
    case CStoreProblem::ProfilesUnreadable:
        return FormatString(LoadExpandedString(IDS_PROFILES_UNREADABLE).c_str(),
                            notice.browser.c_str(), notice.reason.c_str());
    case CStoreProblem::FoldersUnread:
        return LoadExpandedString(IDS_FLASH_FOLDERS_UNREAD);
    case CStoreProblem::FilesUnread:
        return LoadExpandedString(IDS_COOKIE_FILES_UNREAD);
    case CStoreProblem::SourceFailed:
        return FormatString(LoadExpandedString(IDS_SOURCE_FAILED).c_str(),
                            BrowserName(notice).c_str(), notice.reason.c_str());
    case CStoreProblem::LoadStopped:
        return FailureText(IDS_LOADING_STOPPED, notice.reason);
    default:
        return RefusalText(notice);
    }
}

std::wstring ProblemText(const CStoreNotice& notice) {
    switch (notice.problem) {
    case CStoreProblem::None:
        return std::wstring();
    case CStoreProblem::BrowserOpen:
        return StoreText(IDS_DETAILS_BROWSER_OPEN, notice);
    case CStoreProblem::CookieGone:
        return FormatString(LoadExpandedString(IDS_DETAILS_GONE).c_str(), notice.item.c_str(),
                            notice.host.c_str(), notice.browser.c_str(), notice.profile.c_str());
    default:
        return StoreText(IDS_DETAILS_UNREADABLE, notice);
    }
}

std::wstring RefusalText(const CStoreNotice& notice) {
    switch (notice.problem) {
    case CStoreProblem::BrowserOpen:
        return StoreText(IDS_BROWSER_OPEN_DELETING, notice);
    case CStoreProblem::HasTrigger:
        return StoreText(IDS_STORE_HAS_TRIGGER, notice);
    case CStoreProblem::NotDeleted:
        return FormatString(LoadExpandedString(IDS_NOT_DELETED).c_str(), notice.item.c_str());
    case CStoreProblem::FolderRefused:
        return FormatString(LoadExpandedString(IDS_FOLDER_REFUSED).c_str(), notice.item.c_str());
    default:
        return notice.reason;
    }
}
