#include "cookies/CBrowserCloser.h"
#include "support/FakeRestartManager.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

CStoreNotice Held(CookieKind kind, const std::wstring& database, const std::wstring& lock) {
    CStoreNotice notice;
    notice.problem = CStoreProblem::BrowserOpen;
    notice.kind = kind;
    notice.database = database;
    notice.lockFile = lock;
    notice.skipped = true;
    return notice;
}

CStoreNotice Damaged() {
    CStoreNotice notice;
    notice.problem = CStoreProblem::Damaged;
    notice.kind = CookieKind::Firefox;
    return notice;
}

class BrowserCloser : public testing::Test {
protected:
    // Chrome with two profiles, Edge, and a notice that is no held store.
    const CStoreNotices m_notices{Held(CookieKind::Chrome, L"c1", L"clock"),
                                  Held(CookieKind::Chrome, L"c2", L"clock"),
                                  Held(CookieKind::Edge, L"e1", L"elock"), Damaged()};
    CFakeRestartManager m_manager;
};

} // namespace

TEST_F(BrowserCloser, ClosesEachHoldingProgramAndReopensItWhenAsked) {
    m_manager.AddProgram(1, L"Google Chrome", {L"c1", L"clock"});
    m_manager.AddProgram(2, L"Microsoft Edge", {L"elock"});
    CBrowserCloser closer(m_manager);
    const CCloseOutcome outcome = closer.Close(m_notices);
    EXPECT_EQ((std::vector<std::wstring>{L"Google Chrome", L"Microsoft Edge"}), outcome.closed);
    EXPECT_TRUE(outcome.refused.empty());
    EXPECT_TRUE(outcome.unnamed.empty());
    EXPECT_EQ(outcome.closed, closer.Closed());
    EXPECT_EQ((std::vector<std::wstring>{L"start", L"register c1 clock c2", L"register e1 elock",
                                         L"shutdown"}),
              m_manager.calls);

    EXPECT_EQ((std::vector<std::wstring>{L"Google Chrome", L"Microsoft Edge"}), closer.Reopen());
    EXPECT_TRUE(closer.Closed().empty());
    EXPECT_EQ(L"restart", m_manager.calls.at(4));
    EXPECT_EQ(L"end", m_manager.calls.at(5));
    EXPECT_TRUE(closer.Reopen().empty());
    EXPECT_EQ(6u, m_manager.calls.size());
}

// One program refuses and nothing holds Edge's files: only Chrome closes, and it is reopened
// when the closer goes.
TEST_F(BrowserCloser, AProgramThatRefusesStaysAndABrowserNoneHoldsIsLeftToTheUser) {
    m_manager.AddProgram(1, L"Google Chrome", {L"c2"});
    m_manager.AddProgram(3, L"Chrome Helper", {L"clock"}, true);
    {
        CBrowserCloser closer(m_manager);
        const CCloseOutcome outcome = closer.Close(m_notices);
        EXPECT_EQ((std::vector<std::wstring>{L"Google Chrome"}), outcome.closed);
        EXPECT_EQ((std::vector<std::wstring>{L"Chrome Helper"}), outcome.refused);
        ASSERT_EQ(1u, outcome.unnamed.size());
        EXPECT_EQ(L"e1", outcome.unnamed[0].database);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"restart", L"end"}),
              std::vector<std::wstring>(m_manager.calls.end() - 2, m_manager.calls.end()));
}

// Wine's Restart Manager names no program: nothing is shut down or restarted, and the session
// ends at once.
TEST_F(BrowserCloser, WhenNoProgramIsNamedTheSessionEndsAtOnce) {
    CBrowserCloser closer(m_manager);
    const CCloseOutcome outcome = closer.Close(m_notices);
    EXPECT_TRUE(outcome.closed.empty());
    EXPECT_EQ(2u, outcome.unnamed.size());
    EXPECT_TRUE(closer.Closed().empty());
    EXPECT_EQ(L"end", m_manager.calls.back());
    EXPECT_EQ(m_manager.calls.end(),
              std::find(m_manager.calls.begin(), m_manager.calls.end(), L"shutdown"));
    EXPECT_TRUE(closer.Close({m_notices.back()}).unnamed.empty());
}
