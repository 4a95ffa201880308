set(ORVALITH_LINUX_DIR ${CMAKE_CURRENT_LIST_DIR})
install(TARGETS orvalith RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ORVALITH_LINUX_DIR}/${ORVALITH_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVALITH_LINUX_DIR}/${ORVALITH_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${ORVALITH_HICOLOR_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# The libraries come from dpkg-shlibdeps; what is loaded at run time, out of its
# sight (QML modules, Qt's Spanish catalogue, the overlay's font), is named in
# runtime-packages.txt, which scripts/dev.sh installs from as well.
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
file(STRINGS ${ORVALITH_LINUX_DIR}/runtime-packages.txt ORVALITH_DEB_RUNTIME REGEX "^[a-z0-9]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${ORVALITH_LINUX_DIR}/runtime-packages.txt)
string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${ORVALITH_DEB_RUNTIME}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Orvalith developers")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
