#include "app/WebPages.h"

#include "store/ErrorText.h"
#include "support/RecordedBrowser.h"
#include "support/RecordedMessages.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <utility>

namespace {

class WebPages : public testing::Test {
protected:
    void SetUp() override {
        TakeRecordedMessages();
        TakeBrowserRequests();
    }
    void TearDown() override { SetBrowserResult(42); }
};

} // namespace

TEST_F(WebPages, EachOpenerAsksForItsPageOfTheWebSite) {
    OpenHomePage();
    OpenHelpPage();
    OpenNewsPage();
    OpenGettingStartedPage();
    EXPECT_EQ((std::vector<std::wstring>{L"https://www.tollgate-app.com",
                                         L"https://www.tollgate-app.com/help.html",
                                         L"https://www.tollgate-app.com/cookienews.html",
                                         L"https://www.tollgate-app.com/gettingstarted.html"}),
              TakeBrowserRequests());
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

TEST_F(WebPages, AShellFailureIsShownWithTheSystemsTextAndTheCursorComesBack) {
    HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(arrow);
    SetBrowserResult(ERROR_FILE_NOT_FOUND);
    OpenWebPage(L"https://example.test/page");
    EXPECT_EQ(arrow, ::GetCursor());
    const auto messages = TakeRecordedMessages();
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(L"Failed displaying page 'https://example.test/page':  " +
                  FormatErrorText(ERROR_FILE_NOT_FOUND),
              messages[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), messages[0].type);
}

// The shell's own codes mean system errors; 0 is the shell out of memory, never success.
TEST_F(WebPages, AShellResultIsShownAsTheSystemErrorItMeans) {
    const std::pair<INT_PTR, DWORD> meanings[] = {
        {0, ERROR_NOT_ENOUGH_MEMORY},
        {SE_ERR_OOM, ERROR_NOT_ENOUGH_MEMORY},
        {SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
        {SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
        {SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED},
        {SE_ERR_SHARE, ERROR_SHARING_VIOLATION},
        {SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
        {SE_ERR_ASSOCINCOMPLETE, ERROR_NO_ASSOCIATION},
        {SE_ERR_DDEBUSY, ERROR_DDE_FAIL},
        {SE_ERR_DLLNOTFOUND, ERROR_DLL_NOT_FOUND},
    };
    for (const auto& [result, error] : meanings) {
        SetBrowserResult(result);
        OpenWebPage(L"https://example.test/");
        const auto messages = TakeRecordedMessages();
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ(L"Failed displaying page 'https://example.test/':  " + FormatErrorText(error),
                  messages[0].text)
            << result;
    }
}

TEST_F(WebPages, OnlyResultsAbove32CountAsOpened) {
    SetBrowserResult(32);
    OpenWebPage(L"https://example.test/a");
    SetBrowserResult(33);
    OpenWebPage(L"https://example.test/b");
    const auto messages = TakeRecordedMessages();
    ASSERT_EQ(1u, messages.size());
    EXPECT_NE(std::wstring::npos, messages[0].text.find(L"'https://example.test/a'"));
}
