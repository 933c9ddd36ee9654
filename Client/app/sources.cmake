# The application's pieces other than the entry functions (app/Main.cpp of Tollgate.exe,
# app/ConsoleMain.cpp of Tollgate.com) and the shell request that starts the browser
# (app/BrowserLauncher.cpp), linked only into Tollgate.exe.
target_sources(tollgate_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CApplication.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ComApartment.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConsoleBrowserClosing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConsoleCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConsoleNoticeText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CsvText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SiteExport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnattendedClean.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProductVersion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProgramSources.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolbarButton.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WebPages.cpp
)
