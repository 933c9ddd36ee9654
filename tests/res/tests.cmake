tollgate_add_test(res_tests
    ${CMAKE_CURRENT_LIST_DIR}/ResourceTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StringLoaderTests.cpp
)
add_dependencies(res_tests Tollgate)
