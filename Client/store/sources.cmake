target_sources(tollgate_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AuthorizedStore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ErrorText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Exceptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlacementStore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Registry.cpp
)
