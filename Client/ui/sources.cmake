target_sources(tollgate_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AgeText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CAboutDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CAllowedDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CCookieBaseDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CDetailsDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CMainDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CMessageBoxReport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CToReviewDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CTransitionDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CallbackReport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NoticeText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatusText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessageStream.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimeText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowIcons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.cpp
)
