#include "app/WebPages.h"

#include "app/BrowserLauncher.h"
#include "res/resource.h"
#include "store/Exceptions.h"
#include "ui/ShowMessage.h"
#include "res/StringLoader.h"
#include "ui/WaitCursor.h"

#include <shellapi.h>

namespace {

// The shell's results of 32 and below are its own codes; some share a system error's number,
// the rest mean one.
DWORD SystemError(INT_PTR shellResult) {
    switch (shellResult) {
    case 0:
    case SE_ERR_OOM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_FNF:
        return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF:
        return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED:
        return ERROR_ACCESS_DENIED;
    case ERROR_BAD_FORMAT:
        return ERROR_BAD_FORMAT;
    case SE_ERR_SHARE:
        return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
        return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
        return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND:
        return ERROR_DLL_NOT_FOUND;
    default:
        return ERROR_CAN_NOT_COMPLETE;
    }
}

} // namespace

void OpenWebPage(const std::wstring& url) {
    const CWaitCursor wait;
    const INT_PTR result = StartBrowser(url);
    if (result > 32) {
        return;
    }
    const std::wstring reason = CWin32Exception(SystemError(result), L"").GetText();
    ShowMessage(FormatString(L"Failed displaying page '%s':  %s", url.c_str(), reason.c_str()),
                MB_OK | MB_ICONWARNING);
}

void OpenHomePage() {
    OpenWebPage(LoadExpandedString(IDS_WEBSITE));
}

void OpenHelpPage() {
    OpenWebPage(LoadExpandedString(IDS_HELP_PAGE));
}

void OpenNewsPage() {
    OpenWebPage(LoadExpandedString(IDS_NEWS_PAGE));
}

void OpenGettingStartedPage() {
    OpenWebPage(LoadExpandedString(IDS_GETTING_STARTED_PAGE));
}
