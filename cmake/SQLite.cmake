# SQLite, for the browsers' cookie databases. A package for the target where one is installed
# (vcpkg on Windows); otherwise Debian's source package, fetched once into the build folder by
# tools/fetch-sqlite.sh (tools/setup.sh runs it) and built here as a static library, so
# Tollgate.exe stays one file.
find_package(SQLite3 QUIET)
if(SQLite3_FOUND)
    add_library(tollgate_sqlite3 INTERFACE)
    target_link_libraries(tollgate_sqlite3 INTERFACE SQLite::SQLite3)
    return()
endif()

set(sqlite_dir ${CMAKE_BINARY_DIR}/sqlite)
if(NOT EXISTS ${sqlite_dir}/sqlite3.c OR NOT EXISTS ${sqlite_dir}/sqlite3.h)
    message(FATAL_ERROR "No SQLite for the target: run tools/fetch-sqlite.sh ${CMAKE_BINARY_DIR}")
endif()

add_library(tollgate_sqlite3 STATIC ${sqlite_dir}/sqlite3.c)
target_include_directories(tollgate_sqlite3 SYSTEM PUBLIC ${sqlite_dir})
# Serialized threading; no run-time extensions; no features the wrapper does not use.
target_compile_definitions(tollgate_sqlite3 PUBLIC
    SQLITE_THREADSAFE=1
    SQLITE_OMIT_LOAD_EXTENSION
    SQLITE_OMIT_DEPRECATED
    SQLITE_OMIT_SHARED_CACHE
    SQLITE_DQS=0
    SQLITE_DEFAULT_MEMSTATUS=0
    SQLITE_LIKE_DOESNT_MATCH_BLOBS
)
# SQLite's own sources are not ours to hold to our warning flags.
target_compile_options(tollgate_sqlite3 PRIVATE -w)
