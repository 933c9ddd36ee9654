tollgate_add_test(ui_tests
    ${CMAKE_CURRENT_LIST_DIR}/AgeTextTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowIconsTests.cpp
)
# The cookie pages in a real property sheet.
tollgate_add_test(pages_tests
    ${CMAKE_CURRENT_LIST_DIR}/PageHarness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CookiePagesTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilterTests.cpp
    LOCKS cookie_store desktop
)
# The one suite that shows real message boxes (and closes them as a user would).
tollgate_add_test(message_tests REAL_MESSAGES
    ${CMAKE_CURRENT_LIST_DIR}/ShowMessageTests.cpp
    LOCKS desktop
)
# The About box, the install dialog and the main window, shown in this process.
tollgate_add_test(dialog_tests
    ${CMAKE_CURRENT_LIST_DIR}/PageHarness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowDpiTests.cpp
    LOCKS cookie_store desktop
)
# The details of a site are read from real stores, one of them held by a stand-in browser.
add_dependencies(dialog_tests browser_stand_in)
