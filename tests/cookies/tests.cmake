tollgate_add_test(cookies_tests
    ${CMAKE_CURRENT_LIST_DIR}/RefCountTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DomainKeyTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CookieDomainTests.cpp
)
tollgate_add_test(sources_tests
    ${CMAKE_CURRENT_LIST_DIR}/CookieStoreBuilderTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/IECookieSourceTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/FlashCookieSourceTests.cpp
    LOCKS cookie_store
)
tollgate_add_test(manager_tests
    ${CMAKE_CURRENT_LIST_DIR}/CookieManagerTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CookieLoadingTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ManagerConcurrencyTests.cpp
    LOCKS cookie_store
)
