#include "cookies/CBrowserCloser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

// Restart Manager over made-up programs: which files each holds, and whether it closes when
// asked. Every call goes into `calls`.
class CFakeRestartManager final : public CRestartManager {
public:
    struct CProgram {
        CHoldingProgram holding;
        std::vector<std::wstring> files;
        bool refuses = false;
    };

    std::unique_ptr<CRestartSession> StartSession() override {
        calls.push_back(L"start");
        return std::make_unique<CSession>(*this);
    }

    void AddProgram(DWORD id, const std::wstring& name, std::vector<std::wstring> files,
                    bool refuses = false) {
        programs.push_back({{id, {id, 0}, name, false}, std::move(files), refuses});
    }

    std::vector<CProgram> programs;
    std::vector<std::wstring> calls;

private:
    class CSession final : public CRestartSession {
    public:
        explicit CSession(CFakeRestartManager& manager) : m_manager(manager) {}
        ~CSession() override { m_manager.calls.push_back(L"end"); }

        void RegisterFiles(const std::vector<std::wstring>& files) override {
            std::wstring call = L"register";
            for (const std::wstring& file : files) {
                call += L" " + file;
                m_files.push_back(file);
            }
            m_manager.calls.push_back(call);
        }
        std::vector<CHoldingProgram> GetList() override {
            std::vector<CHoldingProgram> list;
            for (const CProgram& program : m_manager.programs) {
                if (std::any_of(program.files.begin(), program.files.end(), [this](auto& file) {
                        return std::find(m_files.begin(), m_files.end(), file) != m_files.end();
                    })) {
                    list.push_back(program.holding);
                }
            }
            return list;
        }
        void Shutdown() override {
            m_manager.calls.push_back(L"shutdown");
            for (CProgram& program : m_manager.programs) {
                program.holding.stopped = !program.refuses;
            }
        }
        void Restart() override { m_manager.calls.push_back(L"restart"); }

    private:
        CFakeRestartManager& m_manager;
        std::vector<std::wstring> m_files;
    };
};

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
