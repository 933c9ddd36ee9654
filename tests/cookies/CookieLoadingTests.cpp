#include "cookies/CookieManager.h"
#include "cookies/FileTime.h"
#include "support/CookieStoreBuilder.h"
#include "support/MessageRecorder.h"
#include "support/RecordedMessages.h"
#include "support/ThrowAwayCurrentFolder.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <map>
#include <set>

namespace {

using Names = std::set<std::wstring>;
using Sequence = std::vector<std::wstring>;

constexpr FILETIME Time(DWORD high, DWORD low = 0) {
    return FILETIME{low, high};
}

// The program's own manager over the real URL cache, files and registry of the prefix.
class CookieLoading : public testing::Test {
protected:
    void SetUp() override {
        CookieStore::Clear();
        TakeRecordedMessages();
        m_baseline = CRefCount::LiveObjects();
    }
    void TearDown() override {
        m_manager.reset();
        m_recorder.Take();
        EXPECT_EQ(m_baseline, CRefCount::LiveObjects());
        EXPECT_TRUE(m_folder.CanaryAlive());
        EXPECT_TRUE(TakeRecordedMessages().empty());
        CookieStore::Clear();
    }

    void BuildStore() {
        CookieStore::AddFlashFile(L"AB12\\flash.example.com\\a.sol", Time(0x01d80300));
        CookieStore::AddFlashFile(L"AB12\\flash.example.com\\deep\\er\\b.sol", Time(0x01d80100));
        CookieStore::AddFlashFile(L"AB12\\flash.example.com\\c.sol.bak", Time(0x01d80000));
        CookieStore::AddFlashFile(L"AB12\\other.org\\c.SOL", Time(0x01d80400));
        CookieStore::AddFlashFile(L"CD34\\third.net\\d.sol", Time(0x01d80500));
        CookieStore::AddBrowserCookie(
            {CookieStore::BrowserCookieUrl(L"www.example.com"), true, Time(0x01d80200)});
        CookieStore::AddBrowserCookie(
            {CookieStore::BrowserCookieUrl(L"ie.com"), true, Time(0x01d80600)});
        CookieStore::AddBrowserCookie(
            {CookieStore::BrowserCookieUrl(L"ie.com", L"/path"), false, {}, Time(0x01d80700)});
        CookieStore::AddAuthorizedValue(L"example.com");
        CookieStore::AddAuthorizedValue(L"third.net");
        CookieStore::AddAuthorizedValue(L"gone.com");
    }

    CookieManager& LoadAll() {
        m_manager = std::make_unique<CookieManager>();
        m_manager->PrepareSources();
        CDomainList copy;
        m_manager->RegisterWindow(m_recorder.Window(), copy);
        EXPECT_TRUE(copy.empty());
        m_manager->StartLoading();
        m_manager->WaitForLoading();
        m_recorder.Drain();
        return *m_manager;
    }

    CThrowAwayCurrentFolder m_folder;
    LONG m_baseline = 0;
    CMessageRecorder m_recorder;
    std::unique_ptr<CookieManager> m_manager;
};

} // namespace

TEST_F(CookieLoading, LoadsBothKindsMarksPrunesAndAnnouncesInOrder) {
    BuildStore();
    auto& manager = LoadAll();

    Sequence received;
    for (const auto& message : m_recorder.Take()) {
        received.push_back(Describe(message));
    }
    // Flash first, in the order of its folders; then the cache. Nothing was taken off the
    // queue meanwhile, so the further cookies of a domain posted nothing.
    EXPECT_EQ(
        (Sequence{L"ADDED example.com", L"ADDED other.org", L"ADDED third.net", L"ADDED ie.com"}),
        received);

    CDomainList domains;
    manager.GetDomains(domains);
    std::map<std::wstring, CRefPtr<CCookieDomain>> byName;
    for (const auto& domain : domains) {
        byName[domain->GetName()] = domain;
    }
    ASSERT_EQ(4u, byName.size());
    const auto& example = byName[L"example.com"];
    EXPECT_EQ(3u, example->GetCookieCount());
    EXPECT_EQ(KindBit(CookieKind::Flash) | KindBit(CookieKind::IE), example->GetKinds());
    EXPECT_EQ(0x01d80100u, example->GetCreated().dwHighDateTime);
    EXPECT_EQ(0x01d80300u, example->GetLastUsed().dwHighDateTime);
    EXPECT_TRUE(example->IsAuthorized());
    EXPECT_TRUE(byName[L"third.net"]->IsAuthorized());
    EXPECT_FALSE(byName[L"other.org"]->IsAuthorized());
    EXPECT_EQ(KindBit(CookieKind::Flash), byName[L"other.org"]->GetKinds());
    const auto& ie = byName[L"ie.com"];
    EXPECT_FALSE(ie->IsAuthorized());
    EXPECT_EQ(2u, ie->GetCookieCount());
    EXPECT_EQ(KindBit(CookieKind::IE), ie->GetKinds());
    EXPECT_EQ(0x01d80600u, ie->GetCreated().dwHighDateTime) << "the entry without a file adds none";
    EXPECT_EQ(0x01d80700u, ie->GetLastUsed().dwHighDateTime);

    EXPECT_EQ((Names{L"example.com", L"third.net"}), CookieStore::AuthorizedValues());
}

TEST_F(CookieLoading, AuthorizingAndDeletingReachThePlatform) {
    BuildStore();
    auto& manager = LoadAll();
    m_recorder.Take();
    CDomainList domains;
    manager.GetDomains(domains);
    const auto named = [&](const std::wstring& name) {
        return *std::find_if(domains.begin(), domains.end(),
                             [&](const auto& domain) { return domain->GetName() == name; });
    };

    EXPECT_TRUE(manager.AuthorizeDomain(named(L"ie.com")));
    EXPECT_EQ((Names{L"example.com", L"ie.com", L"third.net"}), CookieStore::AuthorizedValues());

    EXPECT_TRUE(manager.DeleteDomain(named(L"example.com")));
    EXPECT_EQ((Names{L"ie.com", L"third.net"}), CookieStore::AuthorizedValues());
    EXPECT_FALSE(
        ::PathFileExistsW((CookieStore::FlashRoot() + L"\\AB12\\flash.example.com").c_str()));
    EXPECT_TRUE(::PathFileExistsW((CookieStore::FlashRoot() + L"\\AB12\\other.org").c_str()));
    EXPECT_EQ((Names{CookieStore::BrowserCookieUrl(L"ie.com"),
                     CookieStore::BrowserCookieUrl(L"ie.com", L"/path")}),
              CookieStore::BrowserCookieUrls());

    EXPECT_TRUE(manager.DeleteDomain(named(L"ie.com")));
    EXPECT_TRUE(CookieStore::BrowserCookieUrls().empty());
    CDomainList left;
    manager.GetDomains(left);
    Names names;
    for (const auto& domain : left) {
        names.insert(domain->GetName());
    }
    EXPECT_EQ((Names{L"other.org", L"third.net"}), names);
    m_recorder.Drain();
    ASSERT_EQ(1u, m_recorder.Take().size()) << "only the authorization is announced";
}
