# The Windows build's own system tests, run under Wine. Of the Linux ones, the
# start-up checks and the menu clicks run here too, on the program's pixels
# inside the frame Wine draws (system/windows/test_*_wine.py); not here:
# - test_install (the .deb and the desktop entry): Linux packaging.
# - test_main_window_size: it reads the size hints and frame that a window
#   manager (openbox) is given; Wine's windows are left to no window manager here
#   (see wine-run.sh), so there are none to read. The window's fit on a small
#   screen at 150 % is checked by test_window_scaled below instead.
# - test_journey: it offers the clipboard through xclip to X programs (Windows
#   programs take it from Wine's own clipboard: test_paste below), answers the
#   file and print dialogs that a Linux desktop shows, and reads the saved
#   pictures and printed pages with Linux programs (picture_pixels, pdftoppm).
# Nor the fuzzing, which needs clang's libFuzzer for the host.

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

# A plain Win32 program that puts a picture's pixels or a copied file on the
# Windows clipboard, as other programs do, for the paste test.
add_executable(clipboard_offer system/windows/clipboard_offer.cpp)
target_link_options(clipboard_offer PRIVATE -municode)
set_target_properties(clipboard_offer PROPERTIES AUTOMOC OFF)
target_link_libraries(clipboard_offer PRIVATE ole32 shell32 uuid orvalith_warnings)

# The real program under Wine, driven from outside (through the Wine runner, which
# gives the Python test Wine's set-up and an X server).
orvalith_add_test(system.windows.test_paste
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/system/windows/test_paste.py)
# A laptop's screen with Windows at 150 %: the window, and inside it the panel.
orvalith_add_test(system.windows.test_window_scaled
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/system/windows/test_window_scaled.py
    ENVIRONMENT ORVALITH_SCREEN=1366x768x24 ORVALITH_WINE_DPI=144)
orvalith_add_test(qml.tst_main_small_screens.1366x768.scaled150
    COMMAND $<TARGET_FILE:tst_qml> -input ${CMAKE_CURRENT_SOURCE_DIR}/qml/tst_main_small_screens.qml
        ${DIALOG_TEST_ARGS}
    ENVIRONMENT ORVALITH_SCREEN=1366x768x24 ORVALITH_WINE_DPI=144 QML_XHR_ALLOW_FILE_READ=1)
orvalith_add_test(system.windows.test_startup_wine
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/system/windows/test_startup_wine.py)
orvalith_add_test(system.windows.test_menu_clicks_wine
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/system/windows/test_menu_clicks_wine.py)
