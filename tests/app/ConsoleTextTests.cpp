#include "app/CommandLine.h"
#include "app/ConsoleCommands.h"
#include "app/CsvText.h"
#include "app/ProgramSources.h"
#include "ui/TimeText.h"
#include "app/UnattendedClean.h"
#include "cookies/CWin32RestartManager.h"
#include "cookies/CookieManager.h"
#include "cookies/FakeCookieSource.h"
#include "cookies/FileTime.h"
#include "res/resource.h"
#include "support/RecordedMessages.h"
#include "res/StringLoader.h"

#include <gtest/gtest.h>

#include <new>

namespace {

constexpr std::uint64_t Day = 24ULL * 3600 * 10'000'000;
constexpr std::uint64_t Now = 0x01DA000000000000ULL;

} // namespace

TEST(CsvText, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(L"a,b c,,d\r\n", CsvLine({L"a", L"b c", L"", L"d"}));
    EXPECT_EQ(L"\"Flash, IE\",\"say \"\"hi\"\"\",\"two\r\nlines\",\"x\ny\"\r\n",
              CsvLine({L"Flash, IE", L"say \"hi\"", L"two\r\nlines", L"x\ny"}));
    EXPECT_EQ(L"\" lead\",\"trail \",\xE9t\xE9\r\n", CsvLine({L" lead", L"trail ", L"\xE9t\xE9"}));
}

TEST(CsvText, AFieldASpreadsheetWouldRunAsAFormulaIsWrittenAsText) {
    EXPECT_EQ(
        L"\"'=HYPERLINK(\"\"http://x.test\"\")\",'+1,'-2,'@SUM(A1),'\tt,\"'\rr\"\r\n",
        CsvLine({L"=HYPERLINK(\"http://x.test\")", L"+1", L"-2", L"@SUM(A1)", L"\tt", L"\rr"}));
    // Only the first character counts; times, counts and ordinary names stay as they are.
    EXPECT_EQ(L"a=b,x-y,/path,2024-02-29T23:05:09Z,12,,' lead\r\n",
              CsvLine({L"a=b", L"x-y", L"/path", L"2024-02-29T23:05:09Z", L"12", L"", L"' lead"}));
}

TEST(CsvText, WritesTimesAsIsoUtcAndUnknownAsEmpty) {
    SYSTEMTIME when{2024, 2, 4, 29, 23, 5, 9, 999};
    FILETIME time{};
    ASSERT_TRUE(::SystemTimeToFileTime(&when, &time));
    EXPECT_EQ(L"2024-02-29T23:05:09Z", IsoUtcText(time));
    EXPECT_EQ(L"", IsoUtcText(FILETIME{}));
    EXPECT_EQ(L"1601-01-01T00:00:00Z", IsoUtcText(FILETIME{1, 0}));
}

TEST(UnattendedClean, DeletesOnlyUnauthorizedSitesUsedLongerAgoThanTheDays) {
    EXPECT_TRUE(IsDueForClean(false, Now - 30 * Day - 1, Now, 30));
    EXPECT_FALSE(IsDueForClean(false, Now - 30 * Day, Now, 30)) << "exactly 30 days is kept";
    EXPECT_FALSE(IsDueForClean(true, Now - 400 * Day, Now, 30)) << "authorized";
    EXPECT_FALSE(IsDueForClean(false, 0, Now, 30)) << "last use unknown";
    EXPECT_FALSE(IsDueForClean(false, Now + Day, Now, 0)) << "last use ahead of the clock";
    EXPECT_TRUE(IsDueForClean(false, Now - 1, Now, 0));
    EXPECT_FALSE(IsDueForClean(false, Now, Now, 0));
    EXPECT_TRUE(IsDueForClean(false, 1, Now, LargestCleanDays));
}

// Out of memory while the stores are opened: exit code 1 and the reason, not terminate.
TEST(ConsoleCommands, AnyExceptionEndsTheRunWithExitCodeOneAndItsText) {
    auto source = CFakeCookieSource::Create(CookieKind::IE);
    source->prepare = [] { throw std::bad_alloc(); };
    CookieManager manager({source}, ProgramReport(),
                          [](HWND, UINT, WPARAM, LPARAM) { return TRUE; });
    CWin32RestartManager restart;
    TakeRecordedMessages();
    EXPECT_EQ(1, RunConsoleCommand(manager, ParseCommandLine(L"-list"), restart));
    const std::vector<CRecordedMessage> messages = TakeRecordedMessages();
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(FormatString(LoadExpandedString(IDS_UNHANDLED_EXCEPTION).c_str(), L"std::bad_alloc"),
              messages[0].text);
}
