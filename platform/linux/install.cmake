set(ORVALITH_LINUX_DIR ${CMAKE_CURRENT_LIST_DIR})
install(TARGETS orvalith RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ORVALITH_LINUX_DIR}/${ORVALITH_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVALITH_LINUX_DIR}/${ORVALITH_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${ORVALITH_HICOLOR_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The libraries come from dpkg-shlibdeps; the QML modules the documents import,
# Qt's own Spanish catalogue and the overlay's font are loaded at run time, out
# of its sight, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(ORVALITH_DEB_RUNTIME
    qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtqml-models2
    qml-module-qtquick-controls2 qml-module-qtquick-templates2 qml-module-qtquick-layouts
    qml-module-qtquick-dialogs qml-module-qtquick-privatewidgets qml-module-qtquick-controls
    qml-module-qt-labs-platform qml-module-qt-labs-settings qml-module-qt-labs-folderlistmodel
    qttranslations5-l10n fonts-liberation2)
string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${ORVALITH_DEB_RUNTIME}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Orvalith developers")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
