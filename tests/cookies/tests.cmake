tollgate_add_test(cookies_tests
    ${CMAKE_CURRENT_LIST_DIR}/RefCountTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DomainKeyTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CookieDomainTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BrowserCloserTests.cpp
)
tollgate_add_test(sources_tests
    ${CMAKE_CURRENT_LIST_DIR}/CookieStoreBuilderTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/CookieFileTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/IniFileTests.cpp
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
# The browsers' SQLite cookie databases, built at their real paths in the prefix; a helper
# process stands in for a running browser.
add_executable(browser_stand_in ${CMAKE_CURRENT_LIST_DIR}/sources/BrowserStandInMain.cpp)
target_include_directories(browser_stand_in PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(browser_stand_in PRIVATE tollgate_core tollgate_refcount tollgate_res
                                               tollgate_test_support)
target_link_options(browser_stand_in PRIVATE -municode -mconsole)
tollgate_add_test(browser_sources_tests
    ${CMAKE_CURRENT_LIST_DIR}/BrowserStoresLoadingTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/ChromiumCookieSourceTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sources/FirefoxCookieSourceTests.cpp
    LOCKS cookie_store
)
add_dependencies(browser_sources_tests browser_stand_in)
