#include "cookies/CCookie.h"

CCookie::CCookie(CookieKind kind, std::wstring file, std::wstring host, FILETIME created,
                 FILETIME lastUsed)
    : m_kind(kind), m_file(std::move(file)), m_host(std::move(host)), m_created(created),
      m_lastUsed(lastUsed) {}

CookieKind CCookie::GetKind() {
    CLock hold(m_lock);
    return m_kind;
}

std::wstring CCookie::GetFile() {
    CLock hold(m_lock);
    return m_file;
}

std::wstring CCookie::GetHost() {
    CLock hold(m_lock);
    return m_host;
}

FILETIME CCookie::GetCreated() {
    CLock hold(m_lock);
    return m_created;
}

FILETIME CCookie::GetLastUsed() {
    CLock hold(m_lock);
    return m_lastUsed;
}

const CCookieSource* CCookie::GetSource() {
    CLock hold(m_lock);
    return m_source;
}

void CCookie::SetSource(const CCookieSource* source) {
    CLock hold(m_lock);
    m_source = source;
}

CIECookie::CIECookie(std::wstring file, std::wstring host, FILETIME created, FILETIME lastUsed,
                     std::wstring url)
    : CCookie(CookieKind::IE, std::move(file), std::move(host), created, lastUsed),
      m_url(std::move(url)) {}

CRefPtr<CCookie> CIECookie::Create(std::wstring file, std::wstring host, FILETIME created,
                                   FILETIME lastUsed, std::wstring url) {
    return CRefPtr<CCookie>(
        new CIECookie(std::move(file), std::move(host), created, lastUsed, std::move(url)));
}

std::wstring CIECookie::GetUrl() {
    CLock hold(m_lock);
    return m_url;
}

CRefPtr<CCookie> CFlashCookie::Create(std::wstring file, std::wstring host, FILETIME created,
                                      FILETIME lastUsed) {
    return CRefPtr<CCookie>(
        new CFlashCookie(CookieKind::Flash, std::move(file), std::move(host), created, lastUsed));
}
