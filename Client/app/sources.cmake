# The application's pieces other than the entry function (app/Main.cpp, linked only into
# Tollgate.exe) go here.
target_sources(tollgate_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CApplication.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ModulePath.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolbarButton.cpp
)
