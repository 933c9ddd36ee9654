#include "app/ConsoleBrowserClosing.h"

#include "app/ConsoleNoticeText.h"
#include "cookies/CookieManager.h"
#include "framework/OutputStream.h"
#include "res/StringLoader.h"
#include "res/resource.h"
#include "ui/NoticeText.h"
#include "ui/ShowMessage.h"

#include <algorithm>

namespace {

void Tell(std::set<std::wstring>& told, const std::wstring& text) {
    if (told.insert(text).second) {
        ShowMessage(text, MB_ICONWARNING | MB_OK);
    }
}

} // namespace

void CloseHoldingBrowsers(CookieManager& manager, CBrowserCloser& closer, COutputStream& out,
                          std::set<std::wstring>& told) {
    const CStoreNotices held = HeldStores(manager.GetNotices());
    if (held.empty()) {
        return;
    }
    const CCloseOutcome outcome = closer.Close(held);
    if (!outcome.closed.empty()) {
        out.Write(FormatString(LoadExpandedString(IDS_BROWSERS_CLOSED).c_str(),
                               NamesText(outcome.closed).c_str()) +
                  L"\r\n");
    }
    for (const std::wstring& name : outcome.refused) {
        Tell(told, FormatString(LoadExpandedString(IDS_BROWSER_REFUSED).c_str(), name.c_str()));
    }
    for (const CStoreNotice& notice : outcome.unnamed) {
        const std::wstring name = BrowserName(notice);
        Tell(told, FormatString(LoadExpandedString(IDS_CONSOLE_CLOSE_BY_HAND).c_str(), name.c_str(),
                                name.c_str()));
    }
    manager.ReadFreedStores();
    // A store still held by a browser told about above is not told again; one still held
    // although its program closed is, by the load's notice.
    for (const CStoreNotice& notice : HeldStores(manager.GetNotices())) {
        const bool unnamed =
            std::any_of(outcome.unnamed.begin(), outcome.unnamed.end(),
                        [&notice](const CStoreNotice& each) { return each.kind == notice.kind; });
        if (unnamed || !outcome.refused.empty()) {
            told.insert(ConsoleNoticeText(notice, true));
        }
    }
}

void ReopenBrowsers(CBrowserCloser& closer, COutputStream& out) {
    const std::vector<std::wstring> reopened = closer.Reopen();
    if (!reopened.empty()) {
        out.Write(FormatString(LoadExpandedString(IDS_BROWSERS_REOPENED).c_str(),
                               NamesText(reopened).c_str()) +
                  L"\r\n");
    }
}
