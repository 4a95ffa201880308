# Deployment with windeployqt, beside qmake in a Qt for Windows: it copies the Qt
# libraries, plugins and QML modules the program uses, and MinGW's run-time.

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

