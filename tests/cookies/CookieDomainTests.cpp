#include "cookies/CCookieDomain.h"
#include "cookies/FileTime.h"

#include <gtest/gtest.h>

namespace {

CRefPtr<CCookie> Flash(std::uint64_t created, std::uint64_t lastUsed) {
    return CFlashCookie::Create(L"C:\\f.sol", L"site.example.com", ToFileTime(created),
                                ToFileTime(lastUsed));
}

CRefPtr<CCookie> IE(std::uint64_t created, std::uint64_t lastUsed) {
    return CIECookie::Create(L"C:\\c.txt", L"www.example.com", ToFileTime(created),
                             ToFileTime(lastUsed), L"Cookie:user@www.example.com/");
}

std::uint64_t Created(const CRefPtr<CCookieDomain>& d) {
    return ToUInt64(d->GetCreated());
}
std::uint64_t LastUsed(const CRefPtr<CCookieDomain>& d) {
    return ToUInt64(d->GetLastUsed());
}

} // namespace

TEST(CookieDomain, StartsEmptyAndUnauthorized) {
    auto domain = CCookieDomain::Create(L"example.com");
    EXPECT_EQ(L"example.com", domain->GetName());
    EXPECT_EQ(0u, domain->GetKinds());
    EXPECT_EQ(0u, Created(domain));
    EXPECT_EQ(0u, LastUsed(domain));
    EXPECT_EQ(0u, domain->GetCookieCount());
    EXPECT_FALSE(domain->IsAuthorized());
    domain->SetAuthorized();
    EXPECT_TRUE(domain->IsAuthorized());
}

TEST(CookieDomain, CreatedWidensToTheEarliestKnownTime) {
    auto domain = CCookieDomain::Create(L"example.com");
    domain->AddCookie(IE(500, 0));
    EXPECT_EQ(500u, Created(domain)) << "the first cookie sets it";
    domain->AddCookie(IE(700, 0));
    EXPECT_EQ(500u, Created(domain)) << "a later time does not";
    domain->AddCookie(IE(500, 0));
    EXPECT_EQ(500u, Created(domain)) << "an equal time changes nothing";
    domain->AddCookie(IE(0, 0));
    EXPECT_EQ(500u, Created(domain)) << "an unknown time neither lowers nor resets it";
    domain->AddCookie(IE(900, 0));
    EXPECT_EQ(500u, Created(domain)) << "...so the order of arrival does not matter";
    domain->AddCookie(IE(499, 0));
    EXPECT_EQ(499u, Created(domain));

    auto unknownFirst = CCookieDomain::Create(L"example.org");
    unknownFirst->AddCookie(IE(0, 0));
    EXPECT_EQ(0u, Created(unknownFirst));
    unknownFirst->AddCookie(IE(800, 0));
    EXPECT_EQ(800u, Created(unknownFirst)) << "the first known time replaces 'unknown'";
}

TEST(CookieDomain, LastUsedWidensToTheLatestTime) {
    auto domain = CCookieDomain::Create(L"example.com");
    domain->AddCookie(IE(0, 300));
    EXPECT_EQ(300u, LastUsed(domain));
    domain->AddCookie(IE(0, 300));
    domain->AddCookie(IE(0, 0));
    domain->AddCookie(IE(0, 200));
    EXPECT_EQ(300u, LastUsed(domain));
    domain->AddCookie(IE(0, 301));
    EXPECT_EQ(301u, LastUsed(domain));
    // Compared as unsigned 64-bit numbers: the high half decides.
    domain->AddCookie(IE(0, 0x1'0000'0000ULL));
    EXPECT_EQ(0x1'0000'0000ULL, LastUsed(domain));
}

TEST(CookieDomain, KindsAndTypeText) {
    auto flash = CCookieDomain::Create(L"a.com");
    flash->AddCookie(Flash(1, 1));
    EXPECT_EQ(2u, flash->GetKinds());
    EXPECT_EQ(L"Flash", flash->GetTypeText());

    auto ie = CCookieDomain::Create(L"b.com");
    ie->AddCookie(IE(1, 1));
    ie->AddCookie(IE(1, 1));
    EXPECT_EQ(1u, ie->GetKinds());
    EXPECT_EQ(L"IE", ie->GetTypeText());

    ie->AddCookie(Flash(1, 1));
    EXPECT_EQ(3u, ie->GetKinds());
    EXPECT_EQ(L"Flash, IE", ie->GetTypeText());

    EXPECT_EQ(L"Flash, IE", CCookieDomain::Create(L"c.com")->GetTypeText()) << "no cookies";
}

TEST(CookieDomain, CookieCopyIsASnapshotInOrder) {
    auto domain = CCookieDomain::Create(L"example.com");
    auto first = IE(1, 1);
    auto second = Flash(2, 2);
    domain->AddCookie(first);
    domain->AddCookie(second);

    CCookieList copy{Flash(9, 9)};
    domain->GetCookies(copy);
    ASSERT_EQ(2u, copy.size()) << "the caller's list is emptied first";
    EXPECT_EQ(first.Get(), copy[0].Get());
    EXPECT_EQ(second.Get(), copy[1].Get());

    domain->AddCookie(IE(3, 3));
    EXPECT_EQ(2u, copy.size());
    EXPECT_EQ(3u, domain->GetCookieCount());
}

TEST(CookieDomain, LastReleaseFreesTheDomainAndItsCookies) {
    const LONG before = CRefCount::LiveObjects();
    {
        auto domain = CCookieDomain::Create(L"example.com");
        domain->AddCookie(IE(1, 1));
        domain->AddCookie(Flash(1, 1));
        EXPECT_EQ(before + 3, CRefCount::LiveObjects());
    }
    EXPECT_EQ(before, CRefCount::LiveObjects());
}

TEST(Cookie, RecordsKeepWhatTheirSourceFound) {
    auto cookie = CIECookie::Create(L"C:\\c.txt", L"Www.Example.com", ToFileTime(10),
                                    ToFileTime(20), L"Cookie:user@Www.Example.com/path");
    EXPECT_EQ(CookieKind::IE, cookie->GetKind());
    EXPECT_EQ(L"C:\\c.txt", cookie->GetFile());
    EXPECT_EQ(L"Www.Example.com", cookie->GetHost()) << "not folded or shortened";
    EXPECT_EQ(10u, ToUInt64(cookie->GetCreated()));
    EXPECT_EQ(20u, ToUInt64(cookie->GetLastUsed()));
    EXPECT_EQ(L"Cookie:user@Www.Example.com/path", static_cast<CIECookie*>(cookie.Get())->GetUrl());

    EXPECT_EQ(CookieKind::Flash, Flash(1, 2)->GetKind());
}

TEST(CookieDomain, TypeTextNamesEveryKindInAlphabeticalOrder) {
    const auto bits = [](std::initializer_list<CookieKind> kinds) {
        std::uint32_t mask = 0;
        for (CookieKind kind : kinds) {
            mask |= KindBit(kind);
        }
        return mask;
    };
    EXPECT_EQ(L"Chrome, Edge, Firefox, IE",
              TypeTextForKinds(bits(
                  {CookieKind::IE, CookieKind::Firefox, CookieKind::Edge, CookieKind::Chrome})));
    EXPECT_EQ(L"Brave, Chrome, Edge, Firefox, Flash, IE, Opera, Vivaldi",
              TypeTextForKinds(bits({CookieKind::Vivaldi, CookieKind::Opera, CookieKind::Brave,
                                     CookieKind::Firefox, CookieKind::Edge, CookieKind::Chrome,
                                     CookieKind::Flash, CookieKind::IE})));
    EXPECT_EQ(L"Opera", TypeTextForKinds(KindBit(CookieKind::Opera)));
}
