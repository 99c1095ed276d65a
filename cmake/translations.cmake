# The game's texts in other languages (GNU gettext, text domain "vorblin"). po/vorblin.pot is
# the translators' template, made from the sources by the target vorblin_pot; every
# po/<language>.po beside it is compiled into share/locale/<language>/LC_MESSAGES/vorblin.mo,
# in the build folder (where the game finds it beside the executable) as in the installed tree.
find_program(MSGFMT msgfmt REQUIRED)
find_program(XGETTEXT xgettext REQUIRED)
set(VORBLIN_MAKE_POT ${CMAKE_CURRENT_SOURCE_DIR}/scripts/make_pot.sh)
add_custom_target(vorblin_pot
  COMMAND sh ${VORBLIN_MAKE_POT} ${CMAKE_CURRENT_SOURCE_DIR}
          ${CMAKE_CURRENT_SOURCE_DIR}/po/vorblin.pot ${PROJECT_VERSION}
  COMMENT "Making po/vorblin.pot from the sources")

file(GLOB VORBLIN_PO_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/po/*.po)
set(VORBLIN_MO_FILES)
foreach(po IN LISTS VORBLIN_PO_FILES)
  get_filename_component(language ${po} NAME_WE)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/share/locale/${language}/LC_MESSAGES)
  add_custom_command(
    OUTPUT ${folder}/vorblin.mo
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${MSGFMT} --check -o ${folder}/vorblin.mo ${po}
    DEPENDS ${po}
    COMMENT "Compiling the ${language} texts")
  list(APPEND VORBLIN_MO_FILES ${folder}/vorblin.mo)
  install(FILES ${folder}/vorblin.mo DESTINATION ${CMAKE_INSTALL_LOCALEDIR}/${language}/LC_MESSAGES)
endforeach()
add_custom_target(vorblin_translations ALL DEPENDS ${VORBLIN_MO_FILES})

# Every translation complete and none fuzzy, and the template holding exactly the texts the
# sources look up.
add_test(NAME translations
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/po/po_test.sh
                 ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_VERSION})
