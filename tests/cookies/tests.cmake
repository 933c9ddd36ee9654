tollgate_add_test(cookies_tests
    ${CMAKE_CURRENT_LIST_DIR}/RefCountTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DomainKeyTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CookieDomainTests.cpp
)
tollgate_add_test(sources_tests
    ${CMAKE_CURRENT_LIST_DIR}/CookieStoreBuilderTests.cpp
)
