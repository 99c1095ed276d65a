# The game's icon: one scalable picture, rendered at the sizes desktops use. The same
# renderings are the window's icon (compiled in), so the title strip shows the menu's icon.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(VORBLIN_ICON_SVG ${CMAKE_CURRENT_SOURCE_DIR}/assets/${VORBLIN_APP_ID}.svg)
set(VORBLIN_ICON_SIZES 16 22 24 32 48 64 128 256)
set(VORBLIN_ICON_PNGS)
foreach(size IN LISTS VORBLIN_ICON_SIZES)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${VORBLIN_ICON_SVG}
    DEPENDS ${VORBLIN_ICON_SVG}
    COMMENT "Rendering the ${size}-pixel icon")
  list(APPEND VORBLIN_ICON_PNGS ${png})
endforeach()
qt_add_resources(vorblin_ui vorblin_icons PREFIX /icons BASE ${CMAKE_CURRENT_BINARY_DIR}/icons
                 FILES ${VORBLIN_ICON_PNGS})
