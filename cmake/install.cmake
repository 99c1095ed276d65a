# cmake --install and the Debian package: the executable in games/ (Debian's place for
# games), the shipped sounds in share/vorblin/, and what the desktop needs to list the game.
set(VORBLIN_HOMEPAGE https://github.com/vorblin/VorblinCascade CACHE STRING "The game's home page")
set(VORBLIN_SCREENSHOT_URL
    https://raw.githubusercontent.com/vorblin/VorblinCascade/main/docs/screenshot.png
    CACHE STRING "The screenshot the software centres show")

configure_file(assets/${VORBLIN_APP_ID}.metainfo.xml.in ${VORBLIN_APP_ID}.metainfo.xml @ONLY)
configure_file(docs/vorblin.6.in vorblin.6 @ONLY)
# Debian keeps man pages compressed; -n leaves the time out, so the bytes do not change.
add_custom_command(
  OUTPUT vorblin.6.gz
  COMMAND gzip -9n -c vorblin.6 > vorblin.6.gz
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/vorblin.6
  COMMENT "Compressing the man page")
add_custom_target(vorblin_man ALL DEPENDS vorblin.6.gz)

install(TARGETS vorblin RUNTIME DESTINATION ${VORBLIN_INSTALL_GAMESDIR})
install(FILES ${VORBLIN_SOUND_FILES} DESTINATION ${VORBLIN_INSTALL_SHAREDIR}/sound)
install(FILES assets/${VORBLIN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${VORBLIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VORBLIN_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS VORBLIN_ICON_SIZES)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${VORBLIN_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vorblin.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorblin)
set(CPACK_PACKAGE_VENDOR "The Vorblin Cascade developers")
set(CPACK_PACKAGE_CONTACT "The Vorblin Cascade developers <vorblin@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle with figures you can turn inside out")
set(CPACK_PACKAGE_DESCRIPTION
    "Figures fall into a well of 15 by 31 cells; move them, turn them, drop them and invert
them inside their box, so that filled cells become empty and empty cells filled. Full rows
vanish and score. A hall of fame of the 99 best can be shared by every machine of a network.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VORBLIN_HOMEPAGE})
# The libraries the executable links are found by dpkg-shlibdeps; SDL2_mixer is opened at
# run time (the game runs silent without it), so the scan cannot see it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-mixer-2.0-0")
# The fonts the windows were laid out for; without them the game falls back to others.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-wine, fonts-dejavu-core")
include(CPack)
