#include "support/ProgramFixture.h"

#include "support/BrowserStoreBuilder.h"
#include "support/CookieStoreBuilder.h"

#include <windows.h>

namespace {

void ClearEverything() {
    CookieStore::Clear();
    BrowserStores::Clear();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollgate");
}

} // namespace

void CProgramFixture::SetUp() {
    ClearEverything();
}

void CProgramFixture::TearDown() {
    ClearEverything();
}
