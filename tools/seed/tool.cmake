# seed.exe: the demo cookie store that tools/run.sh starts Tollgate with.
add_executable(seed ${CMAKE_CURRENT_LIST_DIR}/Seed.cpp
                    ${PROJECT_SOURCE_DIR}/tests/support/BrowserStoreBuilder.cpp
                    ${PROJECT_SOURCE_DIR}/tests/support/CookieStoreBuilder.cpp)
target_include_directories(seed PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(seed PRIVATE tollgate_core tollgate_refcount)
target_link_options(seed PRIVATE -municode -mconsole)

# waitwindow.exe: lets the run script wait for Tollgate's window before its screenshot.
add_executable(waitwindow ${CMAKE_CURRENT_LIST_DIR}/WaitForWindow.cpp)
target_link_options(waitwindow PRIVATE -municode -mconsole)
