# Programs that only carry a version resource of a particular shape.
foreach(probe NoTranslation NoProductVersion OtherLanguage)
    add_executable(version_probe_${probe} ${CMAKE_CURRENT_LIST_DIR}/probes/Probe.cpp
                                          ${CMAKE_CURRENT_LIST_DIR}/probes/${probe}.rc)
    target_link_options(version_probe_${probe} PRIVATE -mconsole)
endforeach()

tollgate_add_test(app_tests
    ${CMAKE_CURRENT_LIST_DIR}/ComApartmentTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CommandLineTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConsoleTextTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProductVersionTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolbarButtonTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WebPagesTests.cpp
    LOCKS extension_key
)
add_dependencies(app_tests Tollgate version_probe_NoTranslation version_probe_NoProductVersion
                 version_probe_OtherLanguage)

# Starts the real Tollgate.exe and drives it from outside.
tollgate_add_test(program_tests
    ${CMAKE_CURRENT_LIST_DIR}/ProgramTests.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConsoleProgramTests.cpp
    LOCKS cookie_store extension_key desktop
)
add_dependencies(program_tests Tollgate TollgateConsole browser_stand_in)
# Runs TollgateSetup.exe silently; built only where makensis is.
find_program(MAKENSIS makensis)
if(MAKENSIS)
    # It also compares the user's whole Software key before and after.
    tollgate_add_test(installer_tests
        ${CMAKE_CURRENT_LIST_DIR}/InstallerTests.cpp
        LOCKS cookie_store extension_key desktop
    )
    add_dependencies(installer_tests TollgateSetup)
endif()
