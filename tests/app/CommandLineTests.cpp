#include "app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, OnlyTheExactTextsRegisterOrUnregister) {
    EXPECT_EQ(CCommand::Register, ParseCommand(L"-r"));
    EXPECT_EQ(CCommand::Unregister, ParseCommand(L"-u"));
    for (const wchar_t* other :
         {L"", L"-R", L"-U", L" -r", L"-r ", L"-r x", L"-u -r", L"/r", L"r"}) {
        EXPECT_EQ(CCommand::Run, ParseCommand(other)) << other;
    }
    EXPECT_EQ(CCommand::Run, ParseCommand(nullptr));
}
