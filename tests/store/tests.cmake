tollgate_add_test(store_tests
    ${CMAKE_CURRENT_LIST_DIR}/ErrorTextTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegistryTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AuthorizedStoreTests.cpp
)
