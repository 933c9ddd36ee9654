#include "cookies/sources/CDatabaseCookie.h"

CDatabaseCookie::CDatabaseCookie(CookieKind kind, std::shared_ptr<const CBrowserStore> store,
                                 CSharedText host, FILETIME created, FILETIME lastUsed,
                                 CRowIdentity row)
    : CCookie(kind, std::move(host), created, lastUsed), m_store(std::move(store)),
      m_row(std::move(row)) {}

CRefPtr<CCookie> CDatabaseCookie::Create(CookieKind kind,
                                         std::shared_ptr<const CBrowserStore> store,
                                         CSharedText host, FILETIME created, FILETIME lastUsed,
                                         CRowIdentity row) {
    return CRefPtr<CCookie>(new CDatabaseCookie(kind, std::move(store), std::move(host), created,
                                                lastUsed, std::move(row)));
}
