#include "res/resource.h"
#include "ui/AgeText.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t Now = 133'000'000'000'000'000ULL; // a day in 2022

std::wstring Age(std::uint64_t d) {
    return FormatAgeText(Now - d, Now);
}

} // namespace

TEST(AgeText, EveryBoundaryOfTheTable) {
    const struct {
        std::uint64_t age;
        const wchar_t* text;
    } rows[] = {
        {0, L"0 seconds ago"},
        {4'999'999, L"0 seconds ago"},
        {5'000'000, L"1 seconds ago"},
        {899'999'999, L"90 seconds ago"},
        {900'000'000, L"2 minutes ago"},
        {53'999'999'999, L"90 minutes ago"},
        {54'000'000'000, L"2 hours ago"},
        {1'295'999'999'999, L"36 hours ago"},
        {1'296'000'000'000, L"2 days ago"},
        {9'071'999'999'999, L"10 days ago"},
        {9'072'000'000'000, L"2 weeks ago"},
        {38'879'999'999'999, L"6 weeks ago"},
        {38'880'000'000'000, L"2 months ago"},
        {471'743'999'999'999, L"18 months ago"},
        {471'744'000'000'000, L"2 years ago"},
        {52 * 6'048'000'000'000ULL * 10, L"10 years ago"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.text, Age(row.age)) << "age " << row.age;
    }
}

TEST(AgeText, MissingAndFutureTimes) {
    EXPECT_EQ(L"(Unknown)", FormatAgeText(0, Now));
    EXPECT_EQ(L"(Unknown)", FormatAgeText(0, 0)) << "tested before anything else";
    EXPECT_EQ(L"(Future)", FormatAgeText(Now + 1, Now));
    EXPECT_EQ(L"(Future)", FormatAgeText(Now + 600'000'000, Now));
    FILETIME zero{};
    EXPECT_EQ(L"(Unknown)", FormatAgeText(zero));
}

TEST(AgeText, CountLabelUsesTheSingularForExactlyOne) {
    EXPECT_EQ(UINT(IDS_UNAUTHORIZED_COOKIES),
              CountStringId(0, IDS_UNAUTHORIZED_COOKIE, IDS_UNAUTHORIZED_COOKIES));
    EXPECT_EQ(UINT(IDS_UNAUTHORIZED_COOKIE),
              CountStringId(1, IDS_UNAUTHORIZED_COOKIE, IDS_UNAUTHORIZED_COOKIES));
    EXPECT_EQ(UINT(IDS_UNAUTHORIZED_COOKIES),
              CountStringId(2, IDS_UNAUTHORIZED_COOKIE, IDS_UNAUTHORIZED_COOKIES));
}
