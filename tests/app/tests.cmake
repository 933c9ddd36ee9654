tollgate_add_test(app_tests
    ${CMAKE_CURRENT_LIST_DIR}/CommandLineTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolbarButtonTests.cpp
)
# Starts the real Tollgate.exe and drives it from outside.
tollgate_add_test(program_tests
    ${CMAKE_CURRENT_LIST_DIR}/ProgramTests.cpp
)
add_dependencies(program_tests Tollgate)
