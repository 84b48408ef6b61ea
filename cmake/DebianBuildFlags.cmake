# Debian's hardening flags, as dpkg-buildflags gives them with every hardening feature on:
# _FORTIFY_SOURCE, the stack protector, and a read-only relocation table bound at start
# (-z relro -z now). Every target gets them, so the tests run the code the package ships.
#
# Only for GCC's optimised builds: _FORTIFY_SOURCE needs optimisation (and warns, which is an
# error here, without it), and the sanitizer and fuzz builds use flags of their own.
option(ORBIDA_DEBIAN_BUILDFLAGS "Build optimised builds with the flags of dpkg-buildflags" ON)
if(NOT ORBIDA_DEBIAN_BUILDFLAGS OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   OR CMAKE_BUILD_TYPE STREQUAL "Debug" OR CMAKE_BUILD_TYPE STREQUAL "")
    return()
endif()
find_program(ORBIDA_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT ORBIDA_DPKG_BUILDFLAGS)
    message(STATUS "dpkg-buildflags not found (package dpkg-dev): building without Debian's "
                   "hardening flags")
    return()
endif()
foreach(_orbida_flags CPPFLAGS CXXFLAGS LDFLAGS)
    # Run from the source folder: its path in -ffile-prefix-map keeps the build's paths out of
    # the binaries.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${ORBIDA_DPKG_BUILDFLAGS} --get ${_orbida_flags}
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE _orbida_value OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(_orbida_value UNIX_COMMAND "${_orbida_value}")
    if(_orbida_flags STREQUAL "LDFLAGS")
        add_link_options(${_orbida_value})
    else()
        add_compile_options(${_orbida_value})
    endif()
endforeach()
