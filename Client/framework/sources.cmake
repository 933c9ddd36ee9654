target_sources(tollgate_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AnchoredLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AppModule.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CallbackBarrier.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogImpl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Dpi.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HyperLink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ListView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OutputStream.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PropertyPageImpl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PropertySheetImpl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RedrawThrottle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReturnKeyWanted.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimpleDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SubclassedWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowText.cpp
)
