#include "app/WebPages.h"

#include "app/BrowserLauncher.h"
#include "res/resource.h"
#include "store/Exceptions.h"
#include "ui/ShowMessage.h"
#include "ui/StringLoader.h"
#include "ui/WaitCursor.h"

void OpenWebPage(const std::wstring& url) {
    const CWaitCursor wait;
    const INT_PTR result = StartBrowser(url);
    if (result > 32) {
        return;
    }
    // The shell's small results are system error codes.
    const std::wstring reason = CWin32Exception(static_cast<DWORD>(result), L"").GetText();
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
