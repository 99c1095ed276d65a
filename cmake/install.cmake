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
# Whatever builds the game builds the whole installed tree (run.sh builds only this target).
add_dependencies(vorblin vorblin_man)

# The Debian revision is the one of the newest entry of the Debian changelog, which must be
# for this version: a release without its entry would be packed under the last one's.
file(STRINGS cmake/debian/changelog VORBLIN_DEBIAN_ENTRY LIMIT_COUNT 1)
if(NOT VORBLIN_DEBIAN_ENTRY MATCHES "^vorblin \\(${PROJECT_VERSION}-([0-9][^)]*)\\)")
  message(FATAL_ERROR "cmake/debian/changelog starts with '${VORBLIN_DEBIAN_ENTRY}', "
                      "not an entry for vorblin ${PROJECT_VERSION}-<revision>")
endif()
set(VORBLIN_DEBIAN_REVISION ${CMAKE_MATCH_1})
file(STRINGS CHANGELOG VORBLIN_UPSTREAM_ENTRY LIMIT_COUNT 1)
if(NOT VORBLIN_UPSTREAM_ENTRY MATCHES "^Vorblin Cascade ${PROJECT_VERSION} ")
  message(FATAL_ERROR "CHANGELOG starts with '${VORBLIN_UPSTREAM_ENTRY}', not version ${PROJECT_VERSION}")
endif()
set(CPACK_PACKAGE_CONTACT "The Vorblin Cascade developers <vorblin@users.noreply.github.com>")
configure_file(cmake/debian/copyright.in copyright @ONLY)
# Debian's documentation folder: the machine-readable copyright, and both changelogs
# compressed as policy asks (the Debian one named so, beside the upstream one).
add_custom_command(
  OUTPUT changelog.gz changelog.Debian.gz
  COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG > changelog.gz
  COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/cmake/debian/changelog > changelog.Debian.gz
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG ${CMAKE_CURRENT_SOURCE_DIR}/cmake/debian/changelog
  COMMENT "Compressing the changelogs")
add_custom_target(vorblin_doc ALL DEPENDS changelog.gz changelog.Debian.gz)
add_dependencies(vorblin vorblin_doc)

install(TARGETS vorblin RUNTIME DESTINATION ${VORBLIN_INSTALL_GAMESDIR})
# A stripped install (the package's) also drops the compilers' version notes, as dh_strip does.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VORBLIN_INSTALL_GAMESDIR}/vorblin\")
endif()")
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
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
              ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vorblin)
# The package is not uploaded to Debian's archive, so its first changelog entry has no
# request-for-packaging bug to close.
install(FILES cmake/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME vorblin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorblin)
set(CPACK_PACKAGE_VENDOR "The Vorblin Cascade developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle with figures you can turn inside out")
# Debian reads the long description at 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Figures fall into a well of 15 by 31 cells; move them, turn them, drop them
and invert them inside their box, so that filled cells become empty and
empty cells filled. Full rows vanish and score. A hall of fame of the 99
best can be shared by every machine of a network.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VORBLIN_DEBIAN_REVISION})
# cpack packs what the build folder holds: it brings the game and its files up to date
# first, so that a package is never made of missing or stale files.
set(CPACK_INSTALL_COMMANDS "${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target vorblin")
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
