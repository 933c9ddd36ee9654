tollgate_add_test(app_tests
    ${CMAKE_CURRENT_LIST_DIR}/ToolbarButtonTests.cpp
)
