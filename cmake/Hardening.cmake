# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's hardening flags (dpkg-buildflags with every feature on, bindnow
# included) for everything this build compiles and links, so that the
# package ships what the tests ran. Optimisation, debug information and path
# mapping stay with the build type; fortified functions need optimisation, so
# a Debug build goes without them.
option(TALMO_HARDENING "Compile and link with Debian's hardening flags" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(TALMO_HARDENING AND DPKG_BUILDFLAGS AND NOT TALMO_FUZZ
   AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g|O.*|ffile-prefix-map=.*|fdebug-prefix-map=.*)$")
    set(TALMO_HARDENING_${kind} ${flags})
  endforeach()
  foreach(flag IN LISTS TALMO_HARDENING_CPPFLAGS TALMO_HARDENING_CXXFLAGS)
    if(flag MATCHES "^-D_FORTIFY_SOURCE")
      add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
    else()
      add_compile_options(${flag})
    endif()
  endforeach()
  add_link_options(${TALMO_HARDENING_LDFLAGS})
  message(STATUS "Hardening: ${TALMO_HARDENING_CPPFLAGS} ${TALMO_HARDENING_CXXFLAGS} "
                 "${TALMO_HARDENING_LDFLAGS}")
endif()
