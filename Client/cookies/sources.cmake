target_sources(tollgate_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CCookie.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CCookieDomain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CCookieSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CChromiumCookieSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CDatabaseCookie.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CDatabaseCookieSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CFirefoxCookieSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CFlashCookieSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CIECookieSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CWin32BrowserProfiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CookieFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CWin32FileSystem.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CWin32UrlCache.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CookieManager.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CriticalSection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DomainKey.cpp
)
