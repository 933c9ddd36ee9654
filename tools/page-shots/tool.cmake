# Shows both cookie pages with a few dozen rows, for the screenshots in docs/:
# tools/page-shots/take.sh
add_executable(page_shots WIN32 ${CMAKE_CURRENT_LIST_DIR}/PageShots.cpp)
target_link_libraries(page_shots PRIVATE tollgate_core tollgate_refcount tollgate_message
                                         tollgate_browser tollgate_res)
target_link_options(page_shots PRIVATE -municode)
