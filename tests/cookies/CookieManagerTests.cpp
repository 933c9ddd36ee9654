#include "app/ProgramSources.h"
#include "cookies/CookieManager.h"
#include "cookies/DomainMessages.h"
#include "cookies/FileTime.h"
#include "res/resource.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "support/CookieStoreBuilder.h"
#include "support/KeySecurity.h"
#include "support/MessageRecorder.h"
#include "support/RecordedMessages.h"
#include "support/RegistrySandbox.h"
#include "res/StringLoader.h"

#include "CookieRecorder.h"
#include "FakeCookieSource.h"

#include <gtest/gtest.h>

#include <process.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Names = std::set<std::wstring>;
using Sequence = std::vector<std::wstring>;

CRefPtr<CCookie> Flash(const std::wstring& host, const std::wstring& file, DWORD time = 0) {
    return CFlashCookie::Create(file, host, FILETIME{time, 0}, FILETIME{time, 0});
}

CRefPtr<CCookie> Browser(const std::wstring& host, const std::wstring& file, DWORD time = 0) {
    return CIECookie::Create(file, host, FILETIME{time, 0}, FILETIME{time, 0},
                             L"Cookie:u@" + host + L"/");
}

void DenyWrites() {
    CookieStore::AddAuthorizedValue(L"placeholder.invalid");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", 0,
                                             WRITE_DAC | KEY_SET_VALUE, &key));
    ::RegDeleteValueW(key, L"placeholder.invalid");
    DenyKeyWrites(key);
    ::RegCloseKey(key);
}

// FormatErrorText of the code, as the manager's message texts carry it.
std::wstring Reason(DWORD code) {
    return FormatErrorText(code);
}

class CookieManagerTest : public testing::Test {
protected:
    void SetUp() override {
        TakeRecordedMessages();
        // Without the two sources, which TearDown releases before it counts.
        m_baseline = CRefCount::LiveObjects() - 2;
    }
    void TearDown() override {
        m_manager.reset();
        m_recorder.Take();
        m_flash = nullptr;
        m_browser = nullptr;
        EXPECT_EQ(m_baseline, CRefCount::LiveObjects()) << "a reference was not released";
    }

    CookieManager& Manager(CookieManager::CPostFunction post = ::PostMessageW,
                           CookieManager::CThreadStart start = nullptr) {
        m_manager =
            std::make_unique<CookieManager>(CookieManager::CSourceList{m_flash, m_browser},
                                            ProgramReport(), std::move(post), std::move(start));
        m_recorder.TellTaken(*m_manager);
        return *m_manager;
    }

    void Load(CookieManager& manager) {
        manager.PrepareSources();
        manager.StartLoading();
        manager.WaitForLoading();
        m_recorder.Drain();
    }

    Sequence Received() {
        Sequence sequence;
        for (const auto& received : m_recorder.Take()) {
            sequence.push_back(Describe(received));
        }
        return sequence;
    }

    CRefPtr<CCookieDomain> Find(CookieManager& manager, const std::wstring& name) {
        CDomainList domains;
        manager.GetDomains(domains);
        for (const auto& domain : domains) {
            if (domain->GetName() == name) {
                return domain;
            }
        }
        return nullptr;
    }

    CRegistrySandbox m_sandbox;
    LONG m_baseline = 0;
    CMessageRecorder m_recorder;
    CRefPtr<CFakeCookieSource> m_flash = CFakeCookieSource::Create(CookieKind::Flash);
    CRefPtr<CFakeCookieSource> m_browser = CFakeCookieSource::Create(CookieKind::IE);
    std::unique_ptr<CookieManager> m_manager;
};

} // namespace

TEST_F(CookieManagerTest, LoadingGroupsMarksAnnouncesAndPrunes) {
    CookieStore::AddAuthorizedValue(L"example.com");
    CookieStore::AddAuthorizedValue(L"nocookies.org");
    m_flash->cookies = {Flash(L"a.example.com", L"f1", 30), Flash(L"b.org", L"f2", 10)};
    m_browser->cookies = {Browser(L"www.EXAMPLE.com", L"i1", 20), Browser(L"host", L"i2"),
                          Browser(L"", L"i3"), Browser(L"x.y.b.org", L"i4", 5)};
    auto& manager = Manager();
    CDomainList initial;
    manager.RegisterWindow(m_recorder.Window(), initial);
    EXPECT_TRUE(initial.empty());
    Load(manager);

    EXPECT_EQ(1, m_flash->prepared);
    // Nothing was taken off the queue during the load, so further cookies posted nothing.
    EXPECT_EQ((Sequence{L"ADDED example.com", L"ADDED b.org", L"ADDED host", L"ADDED "}),
              Received());
    EXPECT_EQ(1, m_recorder.LoadsDone());
    CDomainList domains;
    manager.GetDomains(domains);
    ASSERT_EQ(4u, domains.size());
    EXPECT_EQ(L"example.com", domains[0]->GetName());
    EXPECT_TRUE(domains[0]->IsAuthorized());
    EXPECT_EQ(KindBit(CookieKind::IE) | KindBit(CookieKind::Flash), domains[0]->GetKinds());
    EXPECT_EQ(2u, domains[0]->GetCookieCount());
    EXPECT_EQ(20u, domains[0]->GetCreated().dwLowDateTime);
    EXPECT_EQ(30u, domains[0]->GetLastUsed().dwLowDateTime);
    EXPECT_FALSE(domains[1]->IsAuthorized());
    EXPECT_EQ(5u, domains[1]->GetCreated().dwLowDateTime);
    EXPECT_EQ((Names{L"example.com"}), CookieStore::AuthorizedValues()) << "pruned";
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

TEST_F(CookieManagerTest, NoCookiesPostNothingAndPruneEverything) {
    CookieStore::AddAuthorizedValue(L"a.com");
    CookieStore::AddAuthorizedValue(L"b.com");
    auto& manager = Manager();
    CDomainList domains;
    manager.RegisterWindow(m_recorder.Window(), domains);
    Load(manager);
    EXPECT_TRUE(Received().empty());
    manager.GetDomains(domains);
    EXPECT_TRUE(domains.empty());
    EXPECT_TRUE(CookieStore::AuthorizedValues().empty());
}

// One source that fails costs only itself: the next still loads, the failure is a notice in
// its own words naming the source, no box is shown, and nothing is pruned.
TEST_F(CookieManagerTest, AFailingSourceIsSkippedAndTheLoadGoesOnWithoutPruning) {
    // The euro sign in the ANSI code page's own bytes: a text widened byte by byte would
    // come out as something else.
    const char* euro = ::GetACP() == CP_UTF8 ? "\xE2\x82\xAC" : "\x80";
    if (::GetACP() != CP_UTF8 && ::GetACP() != 1252) {
        GTEST_SKIP() << "code page " << ::GetACP();
    }
    const std::vector<std::pair<std::function<void()>, std::wstring>> failures = {
        {[] { throw CWin32Exception(ERROR_ACCESS_DENIED, std::wstring()); },
         Reason(ERROR_ACCESS_DENIED)},
        {[euro] { throw std::runtime_error(std::string("costs 1") + euro); }, L"costs 1\u20AC"},
    };
    CookieStore::AddAuthorizedValue(L"kept.com");
    for (const auto& [fail, reason] : failures) {
        m_flash->enumerate = [&fail](CCookieSink&) { fail(); };
        m_browser->cookies = {Browser(L"found.org", L"i1")};
        const int enumerated = m_browser->enumerated;
        auto& manager = Manager();
        Load(manager);
        EXPECT_FALSE(manager.IsLoading());
        EXPECT_EQ(enumerated + 1, m_browser->enumerated);
        EXPECT_TRUE(Find(manager, L"found.org"));
        EXPECT_TRUE(TakeRecordedMessages().empty());
        EXPECT_TRUE(manager.SkippedStore());
        EXPECT_EQ((std::vector<std::wstring>{FormatString(
                      LoadExpandedString(IDS_SOURCE_FAILED).c_str(), L"Flash", reason.c_str())}),
                  NoticeTexts(manager.GetNotices()));
        EXPECT_EQ((Names{L"kept.com"}), CookieStore::AuthorizedValues());
    }
}

// A cookie the load adds to a site while the site is deleted was not deleted: the site is
// announced again with it, as a new domain, never dropped.
TEST_F(CookieManagerTest, ACookieFoundWhileItsSiteIsDeletedBringsTheSiteBack) {
    m_browser->cookies = {Browser(L"a.com", L"i1")};
    auto& manager = Manager();
    Load(manager);
    CDomainList domains;
    manager.RegisterWindow(m_recorder.Window(), domains);
    ASSERT_EQ(1u, domains.size());
    m_browser->whileDeleting = [&manager] { manager.AddCookie(Browser(L"a.com", L"i2")); };
    EXPECT_TRUE(manager.DeleteDomain(domains[0]));
    EXPECT_TRUE(domains[0]->IsDeleted());
    const auto back = Find(manager, L"a.com");
    ASSERT_TRUE(back);
    EXPECT_NE(domains[0].Get(), back.Get());
    CCookieList cookies;
    back->GetCookies(cookies);
    ASSERT_EQ(1u, cookies.size());
    EXPECT_EQ(L"i2", cookies[0]->GetFile());
    m_recorder.Drain();
    EXPECT_EQ((Sequence{L"CHANGED a.com", L"ADDED a.com"}), Received());
}

TEST_F(CookieManagerTest, AThreadThatCannotStartEndsLoadingAtOnceAndSaysWhy) {
    auto& manager = Manager(::PostMessageW, [](auto, void*) -> HANDLE {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    });
    manager.StartLoading();
    EXPECT_FALSE(manager.IsLoading());
    manager.WaitForLoading();
    const auto shown = TakeRecordedMessages();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(L"Unhandled exception while loading cookies:  " + Reason(ERROR_NOT_ENOUGH_MEMORY),
              shown[0].text);
    EXPECT_EQ(0, m_flash->enumerated);
}

TEST_F(CookieManagerTest, AThreadThatCannotStartAfterALoadSaysItsOwnReason) {
    // The last load's handle refuses to close: that failure must not stand in for the reason.
    HANDLE last = nullptr;
    auto& manager = Manager(::PostMessageW, [&last](auto entry, void* argument) -> HANDLE {
        if (last != nullptr) {
            ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        last = reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, entry, argument, 0, nullptr));
        ::SetHandleInformation(last, HANDLE_FLAG_PROTECT_FROM_CLOSE,
                               HANDLE_FLAG_PROTECT_FROM_CLOSE);
        return last;
    });
    Load(manager);
    ASSERT_NE(nullptr, last);
    ::WaitForSingleObject(last, INFINITE);
    TakeRecordedMessages();
    manager.StartLoading();
    manager.WaitForLoading();
    ::SetHandleInformation(last, HANDLE_FLAG_PROTECT_FROM_CLOSE, 0);
    ::CloseHandle(last);
    const auto shown = TakeRecordedMessages();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(L"Unhandled exception while loading cookies:  " + Reason(ERROR_NOT_ENOUGH_MEMORY),
              shown[0].text);
}

TEST_F(CookieManagerTest, AuthorizingWritesMarksAndAnnounces) {
    m_browser->cookies = {Browser(L"a.com", L"i1")};
    auto& manager = Manager();
    Load(manager);
    CDomainList domains;
    manager.RegisterWindow(m_recorder.Window(), domains);
    ASSERT_EQ(1u, domains.size());
    EXPECT_TRUE(manager.AuthorizeDomain(domains[0]));
    EXPECT_TRUE(manager.AuthorizeDomain(domains[0]));
    m_recorder.Drain();
    EXPECT_EQ((Sequence{L"AUTHORIZED a.com", L"AUTHORIZED a.com"}), Received());
    EXPECT_TRUE(domains[0]->IsAuthorized());
    EXPECT_EQ((Names{L"a.com"}), CookieStore::AuthorizedValues());
}

TEST_F(CookieManagerTest, ARegistryFailureIsShownAndChangesNothing) {
    m_browser->cookies = {Browser(L"a.com", L"i1")};
    auto& manager = Manager();
    Load(manager);
    CDomainList domains;
    manager.RegisterWindow(m_recorder.Window(), domains);
    DenyWrites();

    EXPECT_FALSE(manager.AuthorizeDomain(domains[0]));
    m_recorder.Drain();
    EXPECT_TRUE(Received().empty());
    EXPECT_FALSE(domains[0]->IsAuthorized());
    auto shown = TakeRecordedMessages();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(LoadExpandedString(IDS_FAILED_AUTHORIZING) + L"  " + Reason(ERROR_ACCESS_DENIED),
              shown[0].text);
    EXPECT_EQ(UINT(MB_ICONWARNING), shown[0].type);

    domains[0]->SetAuthorized();
    EXPECT_FALSE(manager.DeleteDomain(domains[0]));
    shown = TakeRecordedMessages();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(LoadExpandedString(IDS_FAILED_DELETING_AUTHORIZED) + L"  " +
                  Reason(ERROR_ACCESS_DENIED),
              shown[0].text);
    EXPECT_TRUE(m_browser->deleted.empty()) << "no cookie deleted";
    EXPECT_TRUE(Find(manager, L"a.com"));
}

TEST_F(CookieManagerTest, DeletingStopsAtTheFirstCookieThatStays) {
    m_flash->cookies = {Flash(L"a.com", L"f1"), Flash(L"a.com", L"f2")};
    m_browser->cookies = {Browser(L"a.com", L"i1"), Browser(L"b.com", L"i2")};
    m_flash->undeletable = {L"f2"};
    CookieStore::AddAuthorizedValue(L"a.com");
    auto& manager = Manager();
    Load(manager);
    const auto a = Find(manager, L"a.com");
    ASSERT_TRUE(a);
    EXPECT_FALSE(manager.DeleteDomain(a));
    EXPECT_EQ((std::vector<std::wstring>{L"f1", L"f2"}), m_flash->deleted);
    EXPECT_TRUE(m_browser->deleted.empty());
    EXPECT_TRUE(Find(manager, L"a.com")) << "kept, with all its cookies";
    EXPECT_EQ(3u, a->GetCookieCount());
    EXPECT_TRUE(CookieStore::AuthorizedValues().empty()) << "its value went first";

    m_flash->undeletable.clear();
    EXPECT_TRUE(manager.DeleteDomain(a));
    EXPECT_FALSE(Find(manager, L"a.com"));
    EXPECT_TRUE(Find(manager, L"b.com"));
    EXPECT_TRUE(manager.DeleteDomain(a)) << "a domain no longer listed changes nothing";
}

TEST_F(CookieManagerTest, AFullQueueIsWaitedOutAndNoDomainGoesMissing) {
    for (int i = 0; i < 30; ++i) {
        m_browser->cookies.push_back(Browser(L"d" + std::to_wstring(i % 10) + L".com", L"i"));
    }
    int refusals = 0;
    auto& manager = Manager([&refusals](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        // Every other post finds the queue full at first.
        if (++refusals % 2 == 0) {
            ::SetLastError(ERROR_NOT_ENOUGH_QUOTA);
            return FALSE;
        }
        return ::PostMessageW(window, message, wParam, lParam);
    });
    CDomainList domains;
    manager.RegisterWindow(m_recorder.Window(), domains);
    Load(manager);
    const Sequence received = Received();
    EXPECT_EQ(10u, Names(received.begin(), received.end()).size());
    manager.GetDomains(domains);
    for (const auto& domain : domains) {
        EXPECT_EQ(3u, domain->GetCookieCount());
    }
}

TEST_F(CookieManagerTest, AnUndeliverableMessageReleasesItsReference) {
    m_browser->cookies = {Browser(L"a.com", L"i1"), Browser(L"a.com", L"i2")};
    HWND gone = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
    ::DestroyWindow(gone);
    int fullPosts = 0;
    auto& manager = Manager([&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (window == m_recorder.Window()) {
            // Full until the window unregisters: the sender must give up then.
            ++fullPosts;
            if (fullPosts == 5) {
                m_manager->UnregisterWindow(window);
            }
            ::SetLastError(ERROR_NOT_ENOUGH_QUOTA);
            return FALSE;
        }
        return ::PostMessageW(window, message, wParam, lParam);
    });
    CDomainList domains;
    manager.RegisterWindow(gone, domains);
    manager.RegisterWindow(m_recorder.Window(), domains);
    Load(manager);
    EXPECT_EQ(5, fullPosts);
    EXPECT_TRUE(Received().empty());
    // TearDown counts the live records: the refused messages' references are gone.
}

TEST_F(CookieManagerTest, AFullQueueOfTheCallersOwnWindowIsHandedOverDirectly) {
    m_browser->cookies = {Browser(L"a.com", L"i1")};
    auto& manager = Manager([](HWND, UINT, WPARAM, LPARAM) {
        ::SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return FALSE;
    });
    Load(manager);
    CDomainList domains;
    manager.RegisterWindow(m_recorder.Window(), domains);
    ASSERT_EQ(1u, domains.size());
    EXPECT_TRUE(manager.AuthorizeDomain(domains[0]));
    EXPECT_EQ((Sequence{L"AUTHORIZED a.com"}), Received()) << "without waiting for ever";
}

// What no source can raise of its own reaches the loading thread's last barrier.
TEST_F(CookieManagerTest, WhateverElseEndsTheLoadIsReportedAndLoadingStops) {
    m_flash->enumerate = [](CCookieSink& sink) {
        sink.AddCookie(Flash(L"found.net", L"f1"));
        throw 42;
    };
    auto& manager = Manager();
    Load(manager);
    EXPECT_FALSE(manager.IsLoading());
    EXPECT_EQ(0, m_browser->enumerated);
    const auto shown = TakeRecordedMessages();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(L"Unhandled exception while loading cookies:  ", shown[0].text);
    EXPECT_EQ(UINT(MB_ICONERROR | MB_OK), shown[0].type);
    EXPECT_NE(::GetCurrentThreadId(), shown[0].thread);
    EXPECT_TRUE(Find(manager, L"found.net"));
}

TEST_F(CookieManagerTest, ANullWindowIsNeverRegistered) {
    m_browser->cookies = {Browser(L"a.com", L"i1"), Browser(L"a.com", L"i2")};
    auto& manager = Manager();
    CDomainList domains;
    manager.RegisterWindow(nullptr, domains);
    // Posted to a null window, they would be thread messages of the loading thread, which
    // nobody releases: TearDown counts the live records.
    Load(manager);
}

TEST_F(CookieManagerTest, AQueuedDomainCollectsFurtherCookiesInTheOneMessage) {
    auto& manager = Manager();
    CDomainList domains;
    manager.RegisterWindow(m_recorder.Window(), domains);
    manager.AddCookie(Browser(L"a.com", L"i1"));
    manager.AddCookie(Browser(L"a.com", L"i2"));
    manager.AddCookie(Browser(L"b.com", L"i3"));
    m_recorder.Drain();
    manager.AddCookie(Browser(L"a.com", L"i4"));
    manager.AddCookie(Browser(L"www.a.com", L"i5"));
    EXPECT_EQ((Sequence{L"ADDED a.com", L"ADDED b.com"}), Received());
    m_recorder.Drain();
    EXPECT_EQ((Sequence{L"CHANGED a.com"}), Received());

    // A window that leaves with a message queued is posted again when it comes back.
    manager.UnregisterWindow(m_recorder.Window());
    m_recorder.Drain();
    Received();
    manager.RegisterWindow(m_recorder.Window(), domains);
    manager.AddCookie(Browser(L"a.com", L"i6"));
    m_recorder.Drain();
    EXPECT_EQ((Sequence{L"CHANGED a.com"}), Received());
    EXPECT_EQ(5u, Find(manager, L"a.com")->GetCookieCount());
}

TEST_F(CookieManagerTest, ALoadEndsWithOneDoneMessageAndItsFiguresAndNotices) {
    m_flash->enumerate = [](CCookieSink& sink) {
        sink.AddCookie(Flash(L"a.com", L"f1"));
        CStoreNotice unread;
        unread.problem = CStoreProblem::FoldersUnread;
        sink.AddNotice(unread);
        sink.AddCookie(Flash(L"b.com", L"f2"));
    };
    m_browser->cookies = {Browser(L"a.com", L"i1")};
    auto& manager = Manager();
    CDomainList domains;
    manager.RegisterWindow(m_recorder.Window(), domains);
    EXPECT_FALSE(manager.GetLoadProgress().loading);
    Load(manager);
    EXPECT_EQ(1, m_recorder.LoadsDone());
    CLoadProgress progress = manager.GetLoadProgress();
    EXPECT_FALSE(progress.loading);
    EXPECT_EQ(3u, progress.cookies);
    EXPECT_EQ(2u, progress.sites);
    EXPECT_EQ((std::vector<std::wstring>{LoadExpandedString(IDS_FLASH_FOLDERS_UNREAD)}),
              NoticeTexts(progress.notices));
    ::Sleep(50);
    EXPECT_EQ(progress.milliseconds, manager.GetLoadProgress().milliseconds) << "stopped";

    // A failed source is a notice too, and the load still ends with its message.
    m_browser->enumerate = [](CCookieSink&) {
        throw CWin32Exception(ERROR_ACCESS_DENIED, std::wstring());
    };
    EXPECT_TRUE(manager.Refresh());
    manager.WaitForLoading();
    m_recorder.Drain();
    EXPECT_EQ(2, m_recorder.LoadsDone());
    progress = manager.GetLoadProgress();
    EXPECT_EQ(2u, progress.cookies);
    EXPECT_EQ((std::vector<std::wstring>{LoadExpandedString(IDS_FLASH_FOLDERS_UNREAD),
                                         FormatString(LoadExpandedString(IDS_SOURCE_FAILED).c_str(),
                                                      L"IE", Reason(ERROR_ACCESS_DENIED).c_str())}),
              NoticeTexts(progress.notices));
    EXPECT_TRUE(TakeRecordedMessages().empty());
}

TEST_F(CookieManagerTest, RefreshLoadsTheNewStateOnceTheLoadHasEnded) {
    CookieStore::AddAuthorizedValue(L"kept.com");
    CookieStore::AddAuthorizedValue(L"gone.com");
    m_browser->cookies = {Browser(L"kept.com", L"i1"), Browser(L"gone.com", L"i2"),
                          Browser(L"old.org", L"i3")};
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto& manager = Manager();
    Load(manager);
    ASSERT_TRUE(Find(manager, L"gone.com")->IsAuthorized());

    // Its value is removed behind the manager's back: the next load must not take the
    // domain for authorized from what the last one read.
    HKEY allowed = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", 0,
                                             KEY_SET_VALUE, &allowed));
    ::RegDeleteValueW(allowed, L"gone.com");
    ::RegCloseKey(allowed);
    const auto old = Find(manager, L"old.org");
    m_browser->cookies = {Browser(L"kept.com", L"i1"), Browser(L"gone.com", L"i2"),
                          Browser(L"new.net", L"i4")};
    m_flash->enumerate = [release](CCookieSink&) { ::WaitForSingleObject(release, INFINITE); };
    CDomainList domains;
    manager.RegisterWindow(m_recorder.Window(), domains);
    EXPECT_TRUE(manager.Refresh());
    manager.GetDomains(domains);
    EXPECT_TRUE(domains.empty()) << "the list starts empty";
    EXPECT_TRUE(manager.IsLoading());
    EXPECT_FALSE(manager.Refresh()) << "while a load runs";
    ::SetEvent(release);
    manager.WaitForLoading();
    m_recorder.Drain();
    ::CloseHandle(release);

    EXPECT_EQ(2, m_flash->enumerated) << "one load per Refresh";
    EXPECT_EQ(1, m_recorder.LoadsDone());
    EXPECT_FALSE(Find(manager, L"old.org"));
    EXPECT_EQ(1u, old->GetCookieCount()) << "a record still held stays whole";
    EXPECT_TRUE(Find(manager, L"new.net"));
    EXPECT_TRUE(Find(manager, L"kept.com")->IsAuthorized());
    EXPECT_FALSE(Find(manager, L"gone.com")->IsAuthorized());
    EXPECT_EQ((Names{L"kept.com"}), CookieStore::AuthorizedValues());
    manager.GetDomains(domains);
    EXPECT_EQ(3u, domains.size());
}

TEST_F(CookieManagerTest, EachCookieIsDescribedByTheSourceThatFoundItEvenWhenTwoShareAKind) {
    const auto other = CFakeCookieSource::Create(CookieKind::IE);
    m_flash->cookies = {Flash(L"a.com", L"f1")};
    m_browser->cookies = {Browser(L"a.com", L"i1")};
    other->cookies = {Browser(L"www.a.com", L"i2"), Browser(L"b.com", L"i3")};
    m_manager = std::make_unique<CookieManager>(
        CookieManager::CSourceList{m_flash, m_browser, other}, ProgramReport(), ::PostMessageW);
    Load(*m_manager);

    CCookieDescriptions described;
    m_manager->DescribeDomain(Find(*m_manager, L"a.com"), described);
    std::vector<std::wstring> files;
    for (const auto& cookie : described) {
        files.push_back(cookie.location);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"f1", L"i1", L"i2"}), files)
        << "each cookie once, source by source";
    EXPECT_EQ((std::vector<std::wstring>{L"f1"}), m_flash->described);
    EXPECT_EQ((std::vector<std::wstring>{L"i1"}), m_browser->described);
    EXPECT_EQ((std::vector<std::wstring>{L"i2"}), other->described);
}
