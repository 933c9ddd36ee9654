#include "cookies/CCookie.h"

CCookie::CCookie(CookieKind kind, CSharedText host, FILETIME created, FILETIME lastUsed) noexcept
    : m_kind(kind), m_host(std::move(host)), m_created(created), m_lastUsed(lastUsed) {}

CIECookie::CIECookie(std::wstring file, std::wstring host, FILETIME created, FILETIME lastUsed,
                     std::wstring url)
    : CCookie(CookieKind::IE, CSharedText(std::move(host)), created, lastUsed),
      m_file(std::move(file)), m_url(std::move(url)) {}

CRefPtr<CCookie> CIECookie::Create(std::wstring file, std::wstring host, FILETIME created,
                                   FILETIME lastUsed, std::wstring url) {
    return CRefPtr<CCookie>(
        new CIECookie(std::move(file), std::move(host), created, lastUsed, std::move(url)));
}

CFlashCookie::CFlashCookie(std::wstring file, std::wstring host, FILETIME created,
                           FILETIME lastUsed)
    : CCookie(CookieKind::Flash, CSharedText(std::move(host)), created, lastUsed),
      m_file(std::move(file)) {}

CRefPtr<CCookie> CFlashCookie::Create(std::wstring file, std::wstring host, FILETIME created,
                                      FILETIME lastUsed) {
    return CRefPtr<CCookie>(new CFlashCookie(std::move(file), std::move(host), created, lastUsed));
}
