# tools/bench.sh clean: Tollgate.exe -clean 30 against the manager's full load and deletes, over
# the cache, Flash and the load benchmark's browser databases.
add_executable(tollgate_bench_clean
    ${CMAKE_CURRENT_LIST_DIR}/CleanBench.cpp
    ${PROJECT_SOURCE_DIR}/tools/bench-load/BrowserStoresBench.cpp
    ${PROJECT_SOURCE_DIR}/tools/bench-load/ProgramWatch.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/BrowserStoreBuilder.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/CookieStoreBuilder.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/RecordedMessages.cpp
)
target_include_directories(tollgate_bench_clean PRIVATE ${PROJECT_SOURCE_DIR}/tests
                                                        ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(tollgate_bench_clean PRIVATE tollgate_core tollgate_refcount tollgate_res psapi)
target_link_options(tollgate_bench_clean PRIVATE -municode -mconsole)
add_dependencies(tollgate_bench_clean Tollgate)
