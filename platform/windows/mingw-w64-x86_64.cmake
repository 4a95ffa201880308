# CMake toolchain file: Windows x86-64 with Debian's MinGW-w64 (posix threads) and
# Qt 5.15 cross-built for it (scripts/windows.sh unpacks one).
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=<this file> -DMINGW_QT_PREFIX=<Qt prefix> ...
#
# Target programs (the tests, a build step's picture generator) run on this
# machine through platform/windows/wine-run.sh, CMake's emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   /usr/bin/${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  /usr/bin/${MINGW_TRIPLE}-windres)
set(CMAKE_AR           /usr/bin/${MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${MINGW_TRIPLE}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP        /usr/bin/${MINGW_TRIPLE}-strip CACHE FILEPATH "")

if(NOT MINGW_QT_PREFIX)
    set(MINGW_QT_PREFIX /opt/mingw-qt5)
endif()
set(MINGW_QT_PREFIX ${MINGW_QT_PREFIX} CACHE PATH "Qt for Windows, cross-built with MinGW-w64")
# Passed on to try_compile projects too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MINGW_QT_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${MINGW_QT_PREFIX})
set(CMAKE_PREFIX_PATH ${MINGW_QT_PREFIX})
set(Qt5_DIR ${MINGW_QT_PREFIX}/lib/cmake/Qt5 CACHE PATH "")
# Programs (python3, Qt's host tools) from the host; libraries, headers and CMake
# packages only from the target roots.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The cross-built Qt has no lrelease: the host's (Debian's) makes the catalogues.
set(Qt5LinguistTools_DIR /usr/lib/x86_64-linux-gnu/cmake/Qt5LinguistTools CACHE PATH "")

# The folders a program run here needs on its DLL search path: Qt's, and
# MinGW's run-time (libstdc++, libgcc, winpthread).
set(MINGW_RUNTIME_DIRS /usr/lib/gcc/${MINGW_TRIPLE}/12-posix /usr/${MINGW_TRIPLE}/lib)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    string(REPLACE ";" ":" _mingw_runtime_path "${MINGW_RUNTIME_DIRS}")
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh
        --qt ${MINGW_QT_PREFIX} --dlls ${_mingw_runtime_path})
endif()
