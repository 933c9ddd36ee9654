# The developer scripts run on the build machine itself, not through Wine.
add_test(NAME script_tests COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/ScriptTests.sh)
set_tests_properties(script_tests PROPERTIES TIMEOUT 60)
