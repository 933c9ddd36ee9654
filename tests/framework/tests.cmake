tollgate_add_test(framework_tests
    ${CMAKE_CURRENT_LIST_DIR}/DialogTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PropertySheetTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HyperLinkTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ListViewTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LiveTextTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FrameworkTests.rc
    LOCKS desktop
)
