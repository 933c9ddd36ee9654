target_sources(tollgate_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CCookie.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CCookieDomain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CCookieSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CFlashCookieSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CIECookieSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CWin32FileSystem.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CWin32UrlCache.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CookieManager.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CriticalSection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DomainKey.cpp
)
