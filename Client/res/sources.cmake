# The string loader: it needs no window, so every room may use it.
target_sources(tollgate_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StringLoader.cpp
)
