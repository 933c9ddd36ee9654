#pragma once

#include "cookies/CRestartManager.h"
#include "cookies/CStoreNotice.h"

#include <memory>
#include <string>
#include <vector>

// What asking the browsers that hold stores to close came to.
struct CCloseOutcome {
    // The programs that closed, and those that refused, by Restart Manager's names.
    std::vector<std::wstring> closed;
    std::vector<std::wstring> refused;
    // One held store of each browser for which Restart Manager named no program: the user
    // has to close those.
    CStoreNotices unnamed;
};

// Closes the programs holding the stores that a load left out, as Windows Update does, and
// opens them again. What it closed is reopened, and its session ended, at the latest when the
// closer goes.
class CBrowserCloser {
public:
    explicit CBrowserCloser(CRestartManager& manager);
    CBrowserCloser(const CBrowserCloser&) = delete;
    CBrowserCloser& operator=(const CBrowserCloser&) = delete;
    ~CBrowserCloser();

    // Closes what holds the held stores among `notices`; the other notices are passed over.
    CCloseOutcome Close(const CStoreNotices& notices);
    // The programs closed by Close that wait to be opened again.
    const std::vector<std::wstring>& Closed() const;
    // Opens them again and ends the session: the names of the programs.
    std::vector<std::wstring> Reopen();

private:
    CRestartManager& m_manager;
    std::unique_ptr<CRestartSession> m_session;
    std::vector<std::wstring> m_closed;
};

// The held stores among `notices`.
CStoreNotices HeldStores(const CStoreNotices& notices);
