# Install-time part of deploy-by-hand.cmake: makes ORVALITH_DEPLOY_DIR, which holds
# orvalith.exe, a folder that runs on a Windows machine with no Qt.
cmake_policy(PUSH)
cmake_policy(VERSION 3.16) # the install script runs with no policies set

# The plugins the program loads: the Windows platform, the picture formats it
# reads, printing, and the native widget style of the dialogs.
foreach(folder platforms imageformats printsupport styles)
    file(GLOB plugins ${ORVALITH_QT_PREFIX}/plugins/${folder}/*.dll)
    list(FILTER plugins EXCLUDE REGEX "/(qminimal|qoffscreen)\\.dll$")
    file(INSTALL ${plugins} DESTINATION ${ORVALITH_DEPLOY_DIR}/${folder})
endforeach()

# The QML modules the documents import, and those these import in turn.
set(roots)
foreach(root ${ORVALITH_QML_ROOTS})
    list(APPEND roots -rootPath ${root})
endforeach()
execute_process(
    COMMAND ${ORVALITH_QMLIMPORTSCANNER} ${roots} -importPath ${ORVALITH_QT_PREFIX}/qml
    OUTPUT_VARIABLE imports RESULT_VARIABLE scanned)
if(NOT scanned EQUAL 0)
    message(FATAL_ERROR "qmlimportscanner failed: ${scanned}")
endif()
string(JSON count LENGTH "${imports}")
math(EXPR last "${count} - 1")
set(modules)
foreach(i RANGE ${last})
    string(JSON type ERROR_VARIABLE none GET "${imports}" ${i} type)
    string(JSON path ERROR_VARIABLE none GET "${imports}" ${i} path)
    # Qt's modules only: the program's own, and its scripts, are in its resources.
    if(type STREQUAL "module" AND path MATCHES "^${ORVALITH_QT_PREFIX}/qml/")
        list(APPEND modules ${path})
    endif()
endforeach()
list(REMOVE_DUPLICATES modules)
foreach(module ${modules})
    file(RELATIVE_PATH relative ${ORVALITH_QT_PREFIX}/qml ${module})
    get_filename_component(parent ${ORVALITH_DEPLOY_DIR}/${relative} DIRECTORY)
    file(INSTALL ${module} DESTINATION ${parent})
endforeach()

# Every DLL that the program, its plugins and its QML modules link, found in the
# Qt and MinGW folders (the rest are Windows' own), and those these link in turn.
file(GLOB_RECURSE pending ${ORVALITH_DEPLOY_DIR}/*.exe ${ORVALITH_DEPLOY_DIR}/*.dll)
set(seen)
while(pending)
    list(POP_FRONT pending binary)
    execute_process(COMMAND ${ORVALITH_OBJDUMP} -p ${binary} OUTPUT_VARIABLE headers)
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${headers}")
    foreach(name ${names})
        string(REPLACE "DLL Name: " "" name "${name}")
        if(name IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${name})
        find_file(dll_${name} ${name} PATHS ${ORVALITH_DLL_DIRS} NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH)
        if(dll_${name})
            file(INSTALL ${dll_${name}} DESTINATION ${ORVALITH_DEPLOY_DIR})
            list(APPEND pending ${dll_${name}})
        endif()
    endforeach()
endwhile()
cmake_policy(POP)
