#include "app/ProgramSources.h"

#include "cookies/sources/CChromiumCookieSource.h"
#include "cookies/sources/CFirefoxCookieSource.h"
#include "cookies/sources/CFlashCookieSource.h"
#include "cookies/sources/CIECookieSource.h"
#include "ui/CMessageBoxReport.h"

CookieManager::CSourceList ProgramSources() {
    return {CFlashCookieSource::Create(),
            CIECookieSource::Create(),
            CChromiumCookieSource::Create(CookieKind::Chrome),
            CChromiumCookieSource::Create(CookieKind::Edge),
            CChromiumCookieSource::Create(CookieKind::Brave),
            CChromiumCookieSource::Create(CookieKind::Opera),
            CChromiumCookieSource::Create(CookieKind::Vivaldi),
            CFirefoxCookieSource::Create()};
}

CFailureReport& ProgramReport() {
    // Holds nothing: one for the whole program, built on first use.
    static CMessageBoxReport report;
    return report;
}

// The manager knows sources only as such: which ones the program has is the application's.
CookieManager::CookieManager() : CookieManager(ProgramSources(), ProgramReport(), ::PostMessageW) {}
