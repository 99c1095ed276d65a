# Debian's hardening for the optimised builds, the ones players run: the stack protector,
# fortified libc calls, format-string errors, relocations read-only and bound at start, and
# position-independent executables. The flags come from dpkg-buildflags where it exists,
# so a newer Debian's additions arrive by themselves; elsewhere the same set is named here.
#
# Not for the sanitizer and fuzz builds: fortified calls would check the very copies
# AddressSanitizer is there to report, and its own checks make the stack protector moot.
# Not for Debug either: fortification needs the optimiser.
option(VORBLIN_HARDEN "Debian's hardening flags in the optimised builds" ON)

set(VORBLIN_HARDENING "off")
if(VORBLIN_HARDEN AND NOT VORBLIN_SANITIZE AND NOT VORBLIN_FUZZ
   AND CMAKE_BUILD_TYPE MATCHES "^(RelWithDebInfo|Release|MinSizeRel)$")
  find_program(DPKG_BUILDFLAGS dpkg-buildflags)
  set(hardening_compile)
  set(hardening_link)
  if(DPKG_BUILDFLAGS)
    # bindnow is not in bookworm's default set; a maintainer's own options still win.
    set(maint_options "hardening=+all $ENV{DEB_BUILD_MAINT_OPTIONS}")
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=${maint_options}"
                ${DPKG_BUILDFLAGS} --get ${kind}
        OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
      if(NOT status EQUAL 0)
        set(hardening_compile)
        set(hardening_link)
        break()
      endif()
      separate_arguments(value UNIX_COMMAND "${value}")
      # Optimisation and debug information are the build type's; the path mapping that
      # makes archive builds reproducible would only lose a developer's debugger its sources.
      list(FILTER value EXCLUDE REGEX "^(-g[0-9]*|-O.*|-f(file|debug|macro)-prefix-map=.*)$")
      if(kind STREQUAL LDFLAGS)
        list(APPEND hardening_link ${value})
      else()
        list(APPEND hardening_compile ${value})
      endif()
    endforeach()
    set(VORBLIN_HARDENING "from dpkg-buildflags")
  endif()
  if(NOT hardening_compile)
    set(hardening_compile -fstack-protector-strong -D_FORTIFY_SOURCE=2 -Wformat
                          -Werror=format-security)
    set(hardening_link -Wl,-z,relro -Wl,-z,now)
    set(VORBLIN_HARDENING "set directly")
  endif()
  list(REMOVE_DUPLICATES hardening_compile)
  add_compile_options(${hardening_compile})
  add_link_options(${hardening_link})
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
  string(JOIN " " flags ${hardening_compile} ${hardening_link})
  set(VORBLIN_HARDENING "${VORBLIN_HARDENING}: ${flags}, PIE")
endif()
message(STATUS "Hardening: ${VORBLIN_HARDENING}")
