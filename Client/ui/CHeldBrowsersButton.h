#pragma once

#include "cookies/CBrowserCloser.h"
#include "cookies/CStoreNotice.h"

#include <string>

// What the notice line's button does: closes the browsers that hold stores the load left
// out, after asking, and opens again what it closed.
class CHeldBrowsersButton {
public:
    explicit CHeldBrowsersButton(CBrowserCloser& closer) : m_closer(closer) {}

    // "Close Chrome and Edge…" while browsers hold stores, "Reopen Google Chrome" once closed;
    // empty hides the button.
    std::wstring Label(const CStoreNotices& notices) const;
    // What the last press came to, for the notice line; empty before the first. What it said
    // of browsers left open goes once no store is held any more.
    std::wstring Outcome(const CStoreNotices& notices) const;
    void Press(const CStoreNotices& notices);

private:
    void Close(const CStoreNotices& held);

    CBrowserCloser& m_closer;
    // What closed or reopened, and what stayed open.
    std::wstring m_done;
    std::wstring m_left;
};
