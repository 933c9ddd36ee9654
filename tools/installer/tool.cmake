# TollgateSetup.exe, built beside Tollgate.exe whenever makensis is installed. The version
# is the project's, the same one the program's version resource states.
find_program(MAKENSIS makensis)
if(MAKENSIS)
    set(setup_script ${CMAKE_CURRENT_LIST_DIR}/Tollgate.nsi)
    set(setup_exe ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/TollgateSetup.exe)
    set(setup_icon ${PROJECT_SOURCE_DIR}/Client/res/icons/tollgate.ico)
    add_custom_command(
        OUTPUT ${setup_exe}
        COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DPROGRAM=$<TARGET_FILE:Tollgate>
                -DCONSOLE=$<TARGET_FILE:TollgateConsole>
                -DICON=${setup_icon} -DOUTFILE=${setup_exe} ${setup_script}
        DEPENDS ${setup_script} ${setup_icon} Tollgate TollgateConsole
        COMMENT "Building TollgateSetup.exe"
        VERBATIM)
    add_custom_target(TollgateSetup ALL DEPENDS ${setup_exe})
endif()
