#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

CCommand CommandOf(const wchar_t* text) {
    return ParseCommandLine(text).command;
}

} // namespace

TEST(CommandLine, OnlyTheExactTextsRegisterOrUnregister) {
    EXPECT_EQ(CCommand::Register, CommandOf(L"-r"));
    EXPECT_EQ(CCommand::Unregister, CommandOf(L"-u"));
    for (const wchar_t* other :
         {L"", L"-R", L"-U", L" -r", L"-r ", L"-r x", L"-u -r", L"/r", L"r"}) {
        EXPECT_EQ(CCommand::Run, CommandOf(other)) << other;
    }
    EXPECT_EQ(CCommand::Run, CommandOf(nullptr));
}

TEST(CommandLine, ListTakesCookiesAndAFileName) {
    CCommandLine list = ParseCommandLine(L"-list");
    EXPECT_EQ(CCommand::List, list.command);
    EXPECT_EQ(L"", list.file);

    list = ParseCommandLine(L"-list -cookies");
    EXPECT_EQ(CCommand::ListCookies, list.command);
    EXPECT_EQ(L"", list.file);

    list = ParseCommandLine(L"-list C:\\out.csv");
    EXPECT_EQ(CCommand::List, list.command);
    EXPECT_EQ(L"C:\\out.csv", list.file);

    list = ParseCommandLine(L"-list -cookies \"C:\\My Files\\out.csv\"");
    EXPECT_EQ(CCommand::ListCookies, list.command);
    EXPECT_EQ(L"C:\\My Files\\out.csv", list.file);
}

TEST(CommandLine, CleanTakesDaysAndADryRun) {
    CCommandLine clean = ParseCommandLine(L"-clean 30");
    EXPECT_EQ(CCommand::Clean, clean.command);
    EXPECT_EQ(30u, clean.days);
    EXPECT_FALSE(clean.dryRun);

    clean = ParseCommandLine(L"-clean 0 -dry-run");
    EXPECT_EQ(CCommand::Clean, clean.command);
    EXPECT_EQ(0u, clean.days);
    EXPECT_TRUE(clean.dryRun);

    clean = ParseCommandLine(L"-clean 36500");
    EXPECT_EQ(CCommand::Clean, clean.command);
    EXPECT_EQ(LargestCleanDays, clean.days);
    EXPECT_FALSE(clean.closeBrowsers);

    clean = ParseCommandLine(L"-clean 7 -close-browsers");
    EXPECT_EQ(CCommand::Clean, clean.command);
    EXPECT_TRUE(clean.closeBrowsers);
    EXPECT_FALSE(clean.dryRun);
}

TEST(CommandLine, UsageIsExactlyTheQuestionMark) {
    EXPECT_EQ(CCommand::Usage, CommandOf(L"-?"));
    EXPECT_EQ(CCommand::Run, CommandOf(L"-? x"));
    EXPECT_EQ(CCommand::Run, CommandOf(L"/?"));
}

// Anything that is not exactly one of the forms opens the window, as "-R" and "-r x" do.
TEST(CommandLine, NearMissesRunTheWindow) {
    for (const wchar_t* other : {
             L"-list2",
             L"-List",
             L"-LIST",
             L" -list",
             L"-list ",
             L"-list  out.csv",
             L"-list out.csv -cookies",
             L"-list -cookies -cookies",
             L"-list -Cookies",
             L"-list -x",
             L"-list a.csv b.csv",
             L"-list \"\"",
             L"-list \"out.csv",
             L"-list out\".csv",
             L"\"-list\"",
             L"-list \"-cookies\" x",
             L"-cookies",
             L"-clean",
             L"-clean x",
             L"-clean -5",
             L"-clean +5",
             L"-clean 030",
             L"-clean 36501",
             L"-clean 99999999999",
             L"-clean 30 -dry-run x",
             L"-clean 30 -Dry-Run",
             L"-clean 30 -dryrun",
             L"-clean \"30\"",
             L"-clean 30 \"-dry-run\"",
             L"-clean 30 -dry-run -close-browsers",
             L"-clean 30 -close-browsers -dry-run",
             L"-list -close-browsers",
             L"-Clean 30",
             L"-dry-run",
         }) {
        EXPECT_EQ(CCommand::Run, CommandOf(other)) << other;
    }
}
