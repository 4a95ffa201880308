# The program at the top of the install tree, with windeployqt's copy of the Qt
# libraries, plugins, QML modules and Spanish catalogue beside it, is a folder
# that runs on any Windows machine; the ZIP and installers are made of it.
set(ORVALITH_WINDOWS_DIR ${CMAKE_CURRENT_LIST_DIR})
install(TARGETS orvalith RUNTIME DESTINATION .)

get_target_property(ORVALITH_QMAKE Qt5::qmake IMPORTED_LOCATION)
get_filename_component(ORVALITH_QT_BIN ${ORVALITH_QMAKE} DIRECTORY)
find_program(ORVALITH_WINDEPLOYQT windeployqt HINTS ${ORVALITH_QT_BIN})
if(NOT ORVALITH_WINDEPLOYQT)
    message(FATAL_ERROR "windeployqt is not beside ${ORVALITH_QMAKE}")
endif()

# MSVC's C++ run-time is copied from the compiler by CMake, so that the folder
# needs no redistributable installed; windeployqt copies MinGW's itself.
set(ORVALITH_DEPLOY_RUNTIME)
if(MSVC)
    set(ORVALITH_DEPLOY_RUNTIME --no-compiler-runtime)
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
    include(InstallRequiredSystemLibraries)
endif()

# The documents' imports are read from ui/ (FolderListModel, Labs Platform and
# Settings, Dialogs) and from deploy/ (the Dialogs' widget dialogs); Qt's
# catalogue goes to translations/qt_es.qm, where the program looks for it.
install(CODE "
    execute_process(
        COMMAND \"${ORVALITH_WINDEPLOYQT}\" ${ORVALITH_DEPLOY_RUNTIME}
                --qmldir \"${PROJECT_SOURCE_DIR}/ui\"
                --qmldir \"${ORVALITH_WINDOWS_DIR}/deploy\"
                --translations es
                \"\${CMAKE_INSTALL_PREFIX}/orvalith.exe\"
        RESULT_VARIABLE deployed)
    if(NOT deployed EQUAL 0)
        message(FATAL_ERROR \"windeployqt failed: \${deployed}\")
    endif()")

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
