#include "cookies/CCookieSource.h"

CookieKind CCookieSource::GetKind() {
    CLock hold(m_lock);
    return m_kind;
}
