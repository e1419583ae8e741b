# Installing the game: `cmake --install build [--prefix P]` puts the launcher in bin/
# (also as `brumbly`), the game library in lib/brumbly/, the game data and shaders in
# share/brumbly/, a menu entry and its icon; `make package` wraps the same in a Debian
# package. An installed game keeps its players' files in the XDG folders.
include(GNUInstallDirs)

set(BRUMBLY_INSTALL_LIBDIR lib/brumbly)
set(BRUMBLY_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/brumbly)

set_target_properties(Brumbly PROPERTIES INSTALL_RPATH "\$ORIGIN/../${BRUMBLY_INSTALL_LIBDIR}")
install(TARGETS Brumbly RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS Game LIBRARY DESTINATION ${BRUMBLY_INSTALL_LIBDIR})
install(CODE "file(CREATE_LINK Brumbly \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/brumbly\" SYMBOLIC)")
install(DIRECTORY ${BRUMBLY_BIN_DIR}/data ${BRUMBLY_BIN_DIR}/shaders
        DESTINATION ${BRUMBLY_INSTALL_DATADIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/brumbly.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${BRUMBLY_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brumbly)
set(CPACK_PACKAGE_VERSION 0.5.0)
set(CPACK_PACKAGE_CONTACT "Brumbly developers <brumbly@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Off-road racing game for up to three players")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the programs link decide the dependencies; the Qt platform plugins
# and Mesa's drivers are loaded at run time, so they are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${BRUMBLY_BIN_DIR})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libgl1-mesa-dri")
include(CPack)
