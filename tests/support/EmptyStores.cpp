#include "support/EmptyStores.h"

#include "support/BrowserStoreBuilder.h"
#include "support/CookieStoreBuilder.h"

namespace {

void ClearAll() {
    CookieStore::Clear();
    BrowserStores::Clear();
}

} // namespace

CEmptyStores::CEmptyStores() {
    ClearAll();
}

CEmptyStores::~CEmptyStores() {
    ClearAll();
}
