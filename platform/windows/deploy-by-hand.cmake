# Deployment with a Qt that has no windeployqt (one cross-built for Windows): at
# install time deploy-runtime.cmake copies beside orvalith.exe the plugins it
# loads, the QML modules its documents import (found by qmlimportscanner), and
# every DLL these link from Qt's and MinGW's folders.
get_filename_component(ORVALITH_QT_PREFIX ${ORVALITH_QT_BIN} DIRECTORY)
find_program(ORVALITH_QMLIMPORTSCANNER qmlimportscanner HINTS ${ORVALITH_QT_BIN} NO_DEFAULT_PATH)
if(NOT ORVALITH_QMLIMPORTSCANNER)
    message(FATAL_ERROR "Neither windeployqt nor qmlimportscanner is in ${ORVALITH_QT_BIN}")
endif()
find_program(ORVALITH_OBJDUMP NAMES ${CMAKE_CXX_COMPILER_TARGET}-objdump x86_64-w64-mingw32-objdump
    objdump REQUIRED)
if(NOT MINGW_RUNTIME_DIRS)
    # Where the compiler keeps its run-time DLLs (libstdc++, libgcc, winpthread).
    foreach(dll libstdc++-6.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
        get_filename_component(found ${found} DIRECTORY)
        list(APPEND MINGW_RUNTIME_DIRS ${found})
    endforeach()
endif()

install(CODE "
    set(ORVALITH_DEPLOY_DIR \"\${CMAKE_INSTALL_PREFIX}\")
    set(ORVALITH_QT_PREFIX \"${ORVALITH_QT_PREFIX}\")
    set(ORVALITH_QMLIMPORTSCANNER \"${ORVALITH_QMLIMPORTSCANNER}\")
    set(ORVALITH_OBJDUMP \"${ORVALITH_OBJDUMP}\")
    set(ORVALITH_DLL_DIRS \"${ORVALITH_QT_PREFIX}/bin;${MINGW_RUNTIME_DIRS}\")
    set(ORVALITH_QML_ROOTS \"${PROJECT_SOURCE_DIR}/ui;${ORVALITH_WINDOWS_DIR}/deploy\")
    include(\"${ORVALITH_WINDOWS_DIR}/deploy-runtime.cmake\")")

# Qt's Spanish catalogue, from the Qt prefix or else from the build machine's own
# Qt of the same version (Debian's qttranslations5-l10n): qt_es.qm and the
# catalogues it names. The program looks for it in translations/ beside itself,
# so it is put there for the programs in the build tree too (the tests).
set(ORVALITH_QT_CATALOGUES qt_es qtbase_es qtmultimedia_es qtscript_es qtxmlpatterns_es)
find_path(ORVALITH_QT_TRANSLATIONS qt_es.qm
    PATHS ${ORVALITH_QT_PREFIX}/translations /usr/share/qt5/translations NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT ORVALITH_QT_TRANSLATIONS)
    message(FATAL_ERROR "No qt_es.qm: install qttranslations5-l10n")
endif()
list(TRANSFORM ORVALITH_QT_CATALOGUES PREPEND ${ORVALITH_QT_TRANSLATIONS}/)
list(TRANSFORM ORVALITH_QT_CATALOGUES APPEND .qm)
install(FILES ${ORVALITH_QT_CATALOGUES} DESTINATION translations)
file(COPY ${ORVALITH_QT_CATALOGUES} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/translations)
