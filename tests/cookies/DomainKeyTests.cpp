#include "cookies/DomainKey.h"

#include <gtest/gtest.h>

TEST(DomainKey, KeepsTheLastTwoLabelsLowerCased) {
    const struct {
        const wchar_t* host;
        const wchar_t* key;
    } cases[] = {
        {L"www.example.com", L"example.com"},
        {L"a.b.example.com", L"example.com"},
        {L"Ads.Example.COM", L"example.com"},
        {L"example.com", L"example.com"},
        {L"localhost", L"localhost"},
        {L"LOCALHOST", L"localhost"},
        {L"x", L"x"},
        {L"X", L"x"},
        {L"", L""},
        {L"192.168.10.20", L"10.20"},
        {L"news.bbc.co.uk", L"co.uk"},
        // Index 0 is never examined, so a leading dot of a two-label host stays.
        {L".example.com", L".example.com"},
        {L".www.example.com", L"example.com"},
        {L"example.com.", L"com."},
        {L"..", L".."},
        {L"...", L"."},
        {L"a..b", L".b"},
        // Only A to Z fold; other letters are kept as they are.
        {L"\u00C4rger.De", L"\u00C4rger.de"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.key, DomainKeyFromHost(c.host))
            << "host '" << testing::PrintToString(c.host) << "'";
    }
}
