# The Windows build's own system tests, run under Wine. The Linux ones (the .deb,
# the desktop entry, the window driven through xdotool and openbox) are not
# built here, nor the fuzzing, which needs clang's libFuzzer for the host.

# The ZIP, unpacked and started where no Qt is on any path.
add_test(NAME system.test_zip
    COMMAND ${CMAKE_COMMAND} -E env ORVALITH_BUILD_DIR=${PROJECT_BINARY_DIR}
        LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
        ${CMAKE_CURRENT_SOURCE_DIR}/with-xvfb.sh
        ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/system/windows/test_zip.py)
set_tests_properties(system.test_zip PROPERTIES TIMEOUT 600)

# The icon group and manifest, read back from orvalith.exe.
add_test(NAME system.test_windows_resources
    COMMAND ${CMAKE_COMMAND} -E env ORVALITH_EXE=$<TARGET_FILE:orvalith>
        ORVALITH_SOURCE_DIR=${PROJECT_SOURCE_DIR}
        ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/system/test_windows_resources.py)
