# The windows (Qt 6 Widgets) around the core.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
set(CMAKE_AUTOMOC OFF)

# The desktop tree: the Qt and SDL adapters and the windows.
file(GLOB_RECURSE VORBLIN_DESKTOP_SOURCES CONFIGURE_DEPENDS src/desktop/*.cpp)
add_library(vorblin_ui STATIC ${VORBLIN_DESKTOP_SOURCES})
# SDL2_mixer is loaded when the sound is first opened (see sdl_audio_device.cpp): only its
# headers at build time.
target_include_directories(vorblin_ui PRIVATE ${SDL2_MIXER_INCLUDE_DIRS})
target_link_libraries(vorblin_ui PUBLIC vorblin_core Qt6::Widgets ${CMAKE_DL_LIBS})

# Where the executable and the shipped files go below the install prefix. The executable
# finds the shipped files by the relative way from one to the other, so an installed tree
# works wherever it is put or unpacked.
include(GNUInstallDirs)
set(VORBLIN_INSTALL_GAMESDIR games CACHE STRING "Folder of the executable below the prefix")
set(VORBLIN_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/vorblin)
file(RELATIVE_PATH VORBLIN_SHIPPED_RELATIVE /prefix/${VORBLIN_INSTALL_GAMESDIR}
     /prefix/${VORBLIN_INSTALL_SHAREDIR})
set(VORBLIN_APP_ID io.github.vorblin.VorblinCascade)
set_property(SOURCE src/desktop/toolkit/data_folder.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             VORBLIN_SHIPPED_RELATIVE="${VORBLIN_SHIPPED_RELATIVE}")
set_property(SOURCE src/desktop/main/start_options.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             VORBLIN_VERSION="${PROJECT_VERSION}" VORBLIN_APP_ID="${VORBLIN_APP_ID}")
include(cmake/icons.cmake)
include(cmake/translations.cmake)

add_executable(vorblin app/main.cpp)
target_link_libraries(vorblin PRIVATE vorblin_ui)

add_executable(vorblin_ui_tests
  tests/desktop/main/main_window_test.cpp
  tests/desktop/main/languages_test.cpp
  tests/desktop/sound/sound_test.cpp
  tests/support/qt_main.cpp
)
target_link_libraries(vorblin_ui_tests PRIVATE vorblin_ui vorblin_test_support Qt6::Test GTest::gtest
                      PkgConfig::SDL2_MIXER)
# Parsed once per build rather than once per test file (see the core tests).
target_precompile_headers(vorblin_ui_tests PRIVATE <gtest/gtest.h> <QApplication> <QTest>
                          <QWidget>)
# The shipped sounds, as the build makes them, for the test of their mixed level.
target_compile_definitions(vorblin_ui_tests PRIVATE
                           VORBLIN_SOUND_DIR="${CMAKE_CURRENT_BINARY_DIR}/sound")
gtest_discover_tests(vorblin_ui_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy")

if(VORBLIN_BENCH AND NOT VORBLIN_SANITIZE)
  add_executable(vorblin_tick_rate bench/tick_rate.cpp)
  target_link_libraries(vorblin_tick_rate PRIVATE vorblin_ui vorblin_test_support)
  find_package(X11)
  if(X11_FOUND)
    add_executable(vorblin_startup_time bench/startup_time.cpp)
    target_link_libraries(vorblin_startup_time PRIVATE X11::X11)
  endif()
  add_executable(vorblin_sound_bench bench/sound_bench.cpp)
  target_link_libraries(vorblin_sound_bench PRIVATE vorblin_ui)
  add_dependencies(vorblin_sound_bench vorblin_sounds)
  add_executable(vorblin_surface_bench bench/surface_bench.cpp)
  target_link_libraries(vorblin_surface_bench PRIVATE vorblin_ui benchmark::benchmark)
endif()

# The game's own default sounds, made by sox beside the executable, where the default
# paths of the settings point.
find_program(SOX sox REQUIRED)
# Their names come from the table of sounds, which the code reads too; a row CMake cannot
# read stops the configuration rather than leave an event without its file.
set(VORBLIN_SOUND_TABLE ${CMAKE_CURRENT_SOURCE_DIR}/src/core/rules/sound_board_table.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VORBLIN_SOUND_TABLE})
# The rows' line continuations go first: a backslash before a list's ";" would join two rows.
file(READ ${VORBLIN_SOUND_TABLE} VORBLIN_SOUND_ROWS)
string(REPLACE "\\" "" VORBLIN_SOUND_ROWS "${VORBLIN_SOUND_ROWS}")
string(REGEX MATCHALL "\n *X\\([^\n]*" VORBLIN_SOUND_ROWS "${VORBLIN_SOUND_ROWS}")
set(VORBLIN_SOUND_FILES)
foreach(row IN LISTS VORBLIN_SOUND_ROWS)
  if(NOT row MATCHES "^\n *X\\([A-Za-z0-9]+, *\"([a-z0-9]+)\", *[0-9]+, *[0-9]+, *\"[a-z]+\", *[0-9.]+, *\"[^\"]*\"\\) *$")
    message(FATAL_ERROR "sound_board_table.h: a row not in the form X(channel, \"file\", list, "
                        "variant, \"kind\", peak, \"label\"): ${row}")
  endif()
  list(APPEND VORBLIN_SOUND_FILES ${CMAKE_CURRENT_BINARY_DIR}/sound/${CMAKE_MATCH_1}.WAV)
endforeach()
add_custom_command(
  OUTPUT ${VORBLIN_SOUND_FILES}
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/scripts/make_sounds.sh ${CMAKE_CURRENT_BINARY_DIR}/sound
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scripts/make_sounds.sh ${VORBLIN_SOUND_TABLE}
  COMMENT "Making the default sounds")
add_custom_target(vorblin_sounds ALL DEPENDS ${VORBLIN_SOUND_FILES})
add_dependencies(vorblin vorblin_sounds)
add_dependencies(vorblin_ui_tests vorblin_sounds)
add_dependencies(vorblin vorblin_translations)
add_dependencies(vorblin_ui_tests vorblin_translations)

include(cmake/install.cmake)

# The game as players get it: installed into a read-only prefix, packed as a .deb, started
# from the command line, under Xvfb with the disk sound driver (tests/install/).
set(VORBLIN_INSTALL_TEST ${CMAKE_CURRENT_SOURCE_DIR}/tests/install/install_test.sh)
add_test(NAME command_line
         COMMAND bash ${VORBLIN_INSTALL_TEST} cli $<TARGET_FILE:vorblin> ${PROJECT_VERSION})
if(NOT VORBLIN_SANITIZE)
  add_test(NAME installed_files COMMAND bash ${VORBLIN_INSTALL_TEST} files ${CMAKE_BINARY_DIR})
  add_test(NAME installed_run COMMAND bash ${VORBLIN_INSTALL_TEST} run ${CMAKE_BINARY_DIR})
  add_test(NAME debian_package
           COMMAND bash ${VORBLIN_INSTALL_TEST} deb ${CMAKE_BINARY_DIR}
                   ${PROJECT_VERSION}-${VORBLIN_DEBIAN_REVISION})
  # The README's packaging steps from a fresh clone, through apt. It builds the game once
  # more, on both cores: alone, so that the window tests' timers keep their pace. Skipped
  # without root or sudo.
  add_test(NAME readme_package COMMAND bash ${VORBLIN_INSTALL_TEST} clone ${CMAKE_SOURCE_DIR})
  set_tests_properties(readme_package PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 1500 RUN_SERIAL TRUE)
endif()

# The game under the desktops' window managers (openbox, mutter, KWin, xfwm4 on Xvfb), and
# beside a Wayland compositor; skipped where no X server can be started. The sanitizer build
# runs the same window code under openbox alone: the others differ in the window manager, not
# in the game's code they run, and each costs most of a minute.
if(VORBLIN_SANITIZE)
  set(VORBLIN_WINDOW_MANAGERS openbox)
else()
  set(VORBLIN_WINDOW_MANAGERS openbox mutter kwin_x11 xfwm4)
endif()
add_test(NAME window_manager
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/desktop/window_manager_test.sh
                 $<TARGET_FILE:vorblin> ${CMAKE_CURRENT_BINARY_DIR}/sound ${VORBLIN_WINDOW_MANAGERS})
set_tests_properties(window_manager PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 480 RUN_SERIAL TRUE)
