#include "ui/CHeldBrowsersButton.h"

#include "res/StringLoader.h"
#include "res/resource.h"
#include "ui/NoticeText.h"
#include "ui/ShowMessage.h"
#include "ui/WaitCursor.h"

namespace {

std::wstring Formatted(UINT format, const std::wstring& names) {
    return FormatString(LoadExpandedString(format).c_str(), names.c_str(), names.c_str());
}

void AddSentence(std::wstring& text, const std::wstring& sentence) {
    text += text.empty() ? sentence : L"  " + sentence;
}

} // namespace

std::wstring CHeldBrowsersButton::Label(const CStoreNotices& notices) const {
    if (!m_closer.Closed().empty()) {
        return Formatted(IDS_REOPEN_BROWSERS_BUTTON, NamesText(m_closer.Closed()));
    }
    const CStoreNotices held = HeldStores(notices);
    return held.empty() ? std::wstring()
                        : Formatted(IDS_CLOSE_BROWSERS_BUTTON, NamesText(BrowserNames(held)));
}

std::wstring CHeldBrowsersButton::Outcome(const CStoreNotices& notices) const {
    std::wstring text = m_done;
    if (!HeldStores(notices).empty()) {
        AddSentence(text, m_left);
    }
    return text;
}

void CHeldBrowsersButton::Press(const CStoreNotices& notices) {
    if (!m_closer.Closed().empty()) {
        const CWaitCursor wait;
        m_done = Formatted(IDS_BROWSERS_REOPENED, NamesText(m_closer.Reopen()));
        m_left.clear();
        return;
    }
    const CStoreNotices held = HeldStores(notices);
    if (!held.empty() &&
        ShowMessage(Formatted(IDS_CLOSE_BROWSERS_CONFIRM, NamesText(BrowserNames(held))),
                    MB_YESNO | MB_ICONQUESTION) == IDYES) {
        Close(held);
    }
}

// Restart Manager waits for each program to close: seconds, under a wait cursor.
void CHeldBrowsersButton::Close(const CStoreNotices& held) {
    const CWaitCursor wait;
    const CCloseOutcome outcome = m_closer.Close(held);
    m_done = outcome.closed.empty() ? std::wstring()
                                    : Formatted(IDS_BROWSERS_CLOSED, NamesText(outcome.closed));
    m_left.clear();
    for (const std::wstring& name : outcome.refused) {
        AddSentence(m_left, Formatted(IDS_BROWSER_REFUSED, name));
    }
    for (const CStoreNotice& notice : outcome.unnamed) {
        AddSentence(m_left, Formatted(IDS_CLOSE_BY_HAND, BrowserName(notice)));
    }
}
