# The program at the top of the install tree, with windeployqt's copy of the Qt
# libraries, plugins, QML modules and Spanish catalogue beside it, is a folder
# that runs on any Windows machine; the ZIP and installers are made of it.
set(ORVALITH_WINDOWS_DIR ${CMAKE_CURRENT_LIST_DIR})
install(TARGETS orvalith RUNTIME DESTINATION .)

get_target_property(ORVALITH_QMAKE Qt5::qmake IMPORTED_LOCATION)
get_filename_component(ORVALITH_QT_BIN ${ORVALITH_QMAKE} DIRECTORY)
find_program(ORVALITH_WINDEPLOYQT windeployqt HINTS ${ORVALITH_QT_BIN} NO_DEFAULT_PATH)
if(ORVALITH_WINDEPLOYQT)
    include(${ORVALITH_WINDOWS_DIR}/deploy-windeployqt.cmake)
else()
    # A Qt cross-built for Windows has no windeployqt.
    include(${ORVALITH_WINDOWS_DIR}/deploy-by-hand.cmake)
endif()

set(CPACK_GENERATOR ZIP)
find_program(ORVALITH_MAKENSIS makensis
    PATHS "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\NSIS]" "[HKEY_LOCAL_MACHINE\\SOFTWARE\\NSIS]")
if(ORVALITH_MAKENSIS)
    list(APPEND CPACK_GENERATOR NSIS)
endif()
find_program(ORVALITH_WIX_CANDLE candle PATHS "$ENV{WIX}/bin")
if(ORVALITH_WIX_CANDLE)
    list(APPEND CPACK_GENERATOR WIX)
endif()

set(CPACK_PACKAGE_INSTALL_DIRECTORY Orvalith)
set(CPACK_PACKAGE_EXECUTABLES orvalith Orvalith) # the Start menu entry
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_RESOURCE_FILE_LICENSE ${ORVALITH_WINDOWS_DIR}/notice.txt)
set(CPACK_NSIS_MUI_ICON ${ORVALITH_ICO})
set(CPACK_NSIS_MUI_UNIICON ${ORVALITH_ICO})
set(CPACK_NSIS_INSTALLED_ICON_NAME orvalith.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_WIX_PRODUCT_ICON ${ORVALITH_ICO})
# Fixed for good: an installer of a later version replaces this one by it.
set(CPACK_WIX_UPGRADE_GUID 4D334E0E-6EC0-4AD0-9F59-D54E1431AEF6)
