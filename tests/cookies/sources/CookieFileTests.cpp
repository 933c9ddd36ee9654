#include "cookies/FileTime.h"
#include "cookies/sources/CookieFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string Session = "SID\nsecret-token\nwww.example.com/\n1536\n"
                            "3567587328\n30994226\n1711278464\n30340652\n*\n";
const std::string Preferences = "pref\nlang=en\n.example.com/shop/cart\n0\n"
                                "1\n2\n3\n4\n*\n";

} // namespace

TEST(CookieFile, ReadsEveryRecordWithoutItsValue) {
    std::vector<CCookieFileRecord> records;
    ASSERT_TRUE(ParseCookieFile(Session + Preferences, records));
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(L"SID", records[0].name);
    EXPECT_EQ(L"www.example.com", records[0].host);
    EXPECT_EQ(L"/", records[0].path);
    EXPECT_EQ(1536u, records[0].flags);
    EXPECT_EQ(3567587328u, records[0].expires.dwLowDateTime);
    EXPECT_EQ(30994226u, records[0].expires.dwHighDateTime);
    EXPECT_EQ(1711278464u, records[0].created.dwLowDateTime);
    EXPECT_EQ(30340652u, records[0].created.dwHighDateTime);
    EXPECT_EQ(L".example.com", records[1].host);
    EXPECT_EQ(L"/shop/cart", records[1].path);
    EXPECT_EQ(ToUInt64(FILETIME{1, 2}), ToUInt64(records[1].expires));
    EXPECT_EQ(ToUInt64(FILETIME{3, 4}), ToUInt64(records[1].created));
}

TEST(CookieFile, TakesCarriageReturnsEmptyNamesAndAHostWithoutPath) {
    std::vector<CCookieFileRecord> records;
    ASSERT_TRUE(ParseCookieFile("\r\nv\r\nbare.org\r\n0\r\n0\r\n0\r\n0\r\n0\r\n*\r\n", records));
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"", records[0].name);
    EXPECT_EQ(L"bare.org", records[0].host);
    EXPECT_EQ(L"", records[0].path);
}

// A file that is not a whole sequence of records gives nothing, so the caller falls back on
// what the cache entry tells instead of showing half-read fields.
TEST(CookieFile, RejectsWhatIsNoWholeRecord) {
    const std::vector<std::string> broken = {
        "",
        "name\nvalue\nexample/\n1536\n",                      // cut short
        Session.substr(0, Session.size() - 2) + "#\n",        // no closing star
        Session + "extra\n",                                  // a stray line after the last
        "a\nb\nhost/\nx\n0\n0\n0\n0\n*\n",                    // flags not a number
        "a\nb\nhost/\n0\n-1\n0\n0\n0\n*\n",                   // a sign
        "a\nb\nhost/\n0\n4294967296\n0\n0\n0\n*\n",           // beyond 32 bits
        "a\nb\nhost/\n0\n99999999999999999999\n0\n0\n0\n*\n", // far beyond
        "a\nb\n\n0\n0\n0\n0\n0\n*\n",                         // no host
        "a\nb\n/path\n0\n0\n0\n0\n0\n*\n",                    // path without host
        Session + Preferences.substr(0, 20),                  // good, then broken
    };
    for (const std::string& text : broken) {
        std::vector<CCookieFileRecord> records{{}};
        EXPECT_FALSE(ParseCookieFile(text, records)) << text;
        EXPECT_TRUE(records.empty()) << text;
    }
    std::vector<CCookieFileRecord> records;
    EXPECT_FALSE(ParseCookieFile(std::string(LargestCookieFile + 1, 'a'), records));
}
