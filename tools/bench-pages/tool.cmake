# The cookie page under a full load: tools/bench.sh pages.
add_executable(bench_pages ${CMAKE_CURRENT_LIST_DIR}/PagesBenchmark.cpp)
target_link_libraries(bench_pages PRIVATE tollgate_core tollgate_refcount tollgate_message
                                          tollgate_browser tollgate_res)
target_link_options(bench_pages PRIVATE -municode -mconsole)
