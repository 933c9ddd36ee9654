#include "app/ProgramSources.h"
#include "cookies/CookieManager.h"
#include "cookies/DomainMessages.h"
#include "support/MessageRecorder.h"
#include "support/RecordedMessages.h"
#include "support/RegistrySandbox.h"

#include "FakeCookieSource.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr int Keys = 60;

// Cookies of `Keys` domains, with pauses so the window thread gets in between.
void HandOver(CCookieSink& sink, CookieKind kind, int count) {
    for (int i = 0; i < count; ++i) {
        const std::wstring host =
            L"h" + std::to_wstring(i) + L".d" + std::to_wstring(i % Keys) + L".com";
        if (kind == CookieKind::Flash) {
            sink.AddCookie(CFlashCookie::Create(L"f", host, {}, {}));
        } else {
            sink.AddCookie(CIECookie::Create(L"i", host, {}, {}, L"Cookie:u@" + host));
        }
        if (i % 16 == 0) {
            ::Sleep(0);
        }
    }
}

} // namespace

TEST(ManagerConcurrency, TheWindowThreadWorksWhileLoadingRunsWithoutLossOrLeak) {
    CRegistrySandbox sandbox;
    const LONG baseline = CRefCount::LiveObjects();
    for (int round = 0; round < 25; ++round) {
        auto flash = CFakeCookieSource::Create(CookieKind::Flash);
        auto browser = CFakeCookieSource::Create(CookieKind::IE);
        flash->enumerate = [](CCookieSink& sink) { HandOver(sink, CookieKind::Flash, 300); };
        browser->enumerate = [](CCookieSink& sink) { HandOver(sink, CookieKind::IE, 300); };
        CMessageRecorder recorder;
        std::set<CCookieDomain*> seen;
        std::set<std::wstring> deleted;
        {
            CookieManager manager({flash, browser}, ProgramReport(), ::PostMessageW);
            manager.StartLoading();
            CDomainList copy;
            // Never ends before the window has registered, however fast the load was.
            for (int step = 0; manager.IsLoading() || step <= round % 5; ++step) {
                if (step == round % 5) {
                    manager.RegisterWindow(recorder.Window(), copy);
                    for (const auto& domain : copy) {
                        seen.insert(domain.Get());
                    }
                }
                manager.GetDomains(copy);
                if (!copy.empty()) {
                    const auto& domain = copy[step % copy.size()];
                    if (step % 3 == 0) {
                        EXPECT_TRUE(manager.AuthorizeDomain(domain));
                    } else if (step % 7 == 1 && manager.DeleteDomain(domain)) {
                        deleted.insert(domain->GetName());
                    }
                }
                recorder.Drain();
                for (const auto& received : recorder.Take()) {
                    if (received.message == WM_DOMAIN_ADDED) {
                        seen.insert(received.domain.Get());
                    }
                }
            }
            manager.WaitForLoading();
            recorder.Drain();
            for (const auto& received : recorder.Take()) {
                if (received.message == WM_DOMAIN_ADDED) {
                    seen.insert(received.domain.Get());
                }
            }

            manager.GetDomains(copy);
            std::set<std::wstring> names;
            for (const auto& domain : copy) {
                EXPECT_TRUE(names.insert(domain->GetName()).second) << "duplicated domain";
                EXPECT_TRUE(seen.count(domain.Get())) << "the window never heard of a domain";
            }
            for (int key = 0; key < Keys; ++key) {
                const std::wstring name = L"d" + std::to_wstring(key) + L".com";
                EXPECT_TRUE(names.count(name) || deleted.count(name)) << "lost " << key;
            }
            manager.UnregisterWindow(recorder.Window());
        }
        EXPECT_TRUE(TakeRecordedMessages().empty());
    }
    EXPECT_EQ(baseline, CRefCount::LiveObjects());
}
