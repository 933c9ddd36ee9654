# tools/bench.sh delete: the browser stores' Delete alone, the load benchmark's delete-seconds.
add_executable(tollgate_bench_delete
    ${CMAKE_CURRENT_LIST_DIR}/DeleteBench.cpp
    ${PROJECT_SOURCE_DIR}/tools/bench-load/BrowserStoresBench.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/BrowserStoreBuilder.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/RecordedMessages.cpp
)
target_include_directories(tollgate_bench_delete PRIVATE ${PROJECT_SOURCE_DIR}/tests
                                                         ${PROJECT_SOURCE_DIR}/tools/bench-load)
target_link_libraries(tollgate_bench_delete PRIVATE tollgate_core tollgate_refcount
                                                    tollgate_browser tollgate_res)
target_link_options(tollgate_bench_delete PRIVATE -municode -mconsole)
