# The one wrapper over SQLite; nothing outside this folder includes sqlite3.h.
include(${PROJECT_SOURCE_DIR}/cmake/SQLite.cmake)
target_sources(tollgate_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CSqliteDatabase.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSqliteError.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSqliteSavepoint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSqliteStatement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSqliteTransaction.cpp
)
target_link_libraries(tollgate_core PRIVATE tollgate_sqlite3)
