# tools/bench.sh load: the real window's full load against the bare platform work.
add_executable(tollgate_bench_load
    ${CMAKE_CURRENT_LIST_DIR}/BrowserStoresBench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LoadBench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProgramWatch.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/BrowserStoreBuilder.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/CookieStoreBuilder.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/RecordedMessages.cpp
)
target_include_directories(tollgate_bench_load PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(tollgate_bench_load PRIVATE tollgate_core tollgate_refcount
                                                  tollgate_browser tollgate_res psapi)
target_link_options(tollgate_bench_load PRIVATE -municode -mconsole)
add_dependencies(tollgate_bench_load Tollgate)
