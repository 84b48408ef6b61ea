# Install layout and the Debian package.
#
# The program reads villes.txt from its own folder, so the executable and the default city list
# are installed side by side in a folder of their own (lib/orbida on Linux); bin/orbida is a small
# launcher script that execs the real program there. The desktop entry, the AppStream metadata and
# the hicolor icons make the program show up in the desktop's menu and software centres.
include(GNUInstallDirs)

set(ORBIDA_APP_ID fr.orbida.Orbida)
# The AppStream component's id: the same in lower case, as AppStream asks; the desktop entry
# keeps the name launchers and menus already know.
set(ORBIDA_COMPONENT_ID fr.orbida.orbida)
set(ORBIDA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# The metainfo file lists the releases by hand: refuse to build a version it does not know, or
# the software centres would show the previous version number.
string(REPLACE "." "\\." _orbida_version_pattern ${PROJECT_VERSION})
file(READ ${ORBIDA_PACKAGING_DIR}/${ORBIDA_COMPONENT_ID}.metainfo.xml _orbida_metainfo)
if(NOT _orbida_metainfo MATCHES "<release version=\"${_orbida_version_pattern}\"")
    message(FATAL_ERROR "packaging/${ORBIDA_COMPONENT_ID}.metainfo.xml has no <release> for version "
                        "${PROJECT_VERSION}: add one.")
endif()
# Nor one whose changelog does not start with it.
file(STRINGS ${ORBIDA_PACKAGING_DIR}/changelog _orbida_changelog_top LIMIT_COUNT 1)
if(NOT _orbida_changelog_top MATCHES "^orbida \\(${_orbida_version_pattern}\\) ")
    message(FATAL_ERROR "packaging/changelog does not start with an entry for version "
                        "${PROJECT_VERSION}: add one.")
endif()

if(WIN32)
    install(TARGETS orbida RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(TARGETS orbida_network
            LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR}/${ORBIDA_NETWORK_MODULE_FOLDER})
    install(FILES ${PROJECT_SOURCE_DIR}/cities/data/villes.txt DESTINATION ${CMAKE_INSTALL_BINDIR})
elseif(APPLE)
    # In a bundle the program's own folder is Contents/MacOS.
    install(TARGETS orbida BUNDLE DESTINATION .)
    install(TARGETS orbida_network
            LIBRARY DESTINATION orbida.app/Contents/MacOS/${ORBIDA_NETWORK_MODULE_FOLDER})
    install(FILES ${PROJECT_SOURCE_DIR}/cities/data/villes.txt
            DESTINATION orbida.app/Contents/MacOS)
else()
    # Deliberately not CMAKE_INSTALL_LIBDIR: the folder holds the program's own files (the network
    # module is a private plugin, not a library for others), and its path must not
    # depend on whether the configured prefix triggers Debian's multiarch lib/<triplet>.
    set(ORBIDA_INSTALL_PROGRAMDIR lib/orbida CACHE STRING
        "Folder, relative to the prefix, holding the program and its city list")

    install(TARGETS orbida RUNTIME DESTINATION ${ORBIDA_INSTALL_PROGRAMDIR})
    # The network module, loaded by the program from the plugins folder beside it: a private
    # module, outside the folders ldconfig looks at.
    install(TARGETS orbida_network
            LIBRARY DESTINATION ${ORBIDA_INSTALL_PROGRAMDIR}/${ORBIDA_NETWORK_MODULE_FOLDER})
    install(FILES ${PROJECT_SOURCE_DIR}/cities/data/villes.txt
            DESTINATION ${ORBIDA_INSTALL_PROGRAMDIR})
    # A stripped install (the package) drops the compilers' version notes too, as Debian's own
    # packages do: the .comment and .note sections.
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            set(_orbida_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ORBIDA_INSTALL_PROGRAMDIR}\")
            foreach(_orbida_binary orbida
                    ${ORBIDA_NETWORK_MODULE_FOLDER}/$<TARGET_FILE_NAME:orbida_network>)
                execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                        --remove-section=.note --strip-unneeded
                                        \"\${_orbida_dir}/\${_orbida_binary}\"
                                COMMAND_ERROR_IS_FATAL ANY)
            endforeach()
        endif()
    ")

    # The launcher reaches the program by a path relative to itself, so the installed tree can be
    # moved (DESTDIR staging, another prefix) without editing it.
    file(RELATIVE_PATH ORBIDA_LAUNCHER_TARGET /prefix/${CMAKE_INSTALL_BINDIR}
         /prefix/${ORBIDA_INSTALL_PROGRAMDIR}/orbida)
    configure_file(${ORBIDA_PACKAGING_DIR}/orbida-launcher.sh.in
                   ${PROJECT_BINARY_DIR}/packaging/orbida @ONLY)
    install(PROGRAMS ${PROJECT_BINARY_DIR}/packaging/orbida DESTINATION ${CMAKE_INSTALL_BINDIR})

    install(FILES ${ORBIDA_PACKAGING_DIR}/${ORBIDA_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${ORBIDA_PACKAGING_DIR}/${ORBIDA_COMPONENT_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/ui/resources/icons/hicolor
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
            FILES_MATCHING PATTERN "orbida.png" PATTERN "orbida.svg")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/NOTICE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orbida)
if(WIN32 OR APPLE)
    return()
endif()

# The copyright file, and the changelog and manual pages compressed as Debian wants them (gzip -9,
# no name or time stamp inside, so that two builds give the same bytes). The manual page, in
# English (man1) and in French (fr/man1, which man shows under a French locale), is written with
# scdoc, which is only needed here, when installing or packaging: the program's own build does not
# wait for it. Without scdoc (an install straight from the build folder after `make run`) the rest
# is installed and the manual pages left out with a notice; the package always has them, since
# `make package` installs scdoc first.
install(FILES ${ORBIDA_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orbida)
# Each page is written from packaging/<page>.scd to <page>.gz in the build folder.
set(ORBIDA_MAN_PAGE ${PROJECT_BINARY_DIR}/packaging/orbida.1.gz)
set(ORBIDA_MAN_PAGE_FR ${PROJECT_BINARY_DIR}/packaging/orbida.fr.1.gz)
set(ORBIDA_CHANGELOG ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(CODE "
    execute_process(COMMAND gzip -9 -n -c ${ORBIDA_PACKAGING_DIR}/changelog
                    OUTPUT_FILE ${ORBIDA_CHANGELOG}
                    COMMAND_ERROR_IS_FATAL ANY)
    # Pages written by an earlier install are not installed again in place of missing ones.
    file(REMOVE ${ORBIDA_MAN_PAGE} ${ORBIDA_MAN_PAGE_FR})
    find_program(ORBIDA_SCDOC scdoc)
    if(ORBIDA_SCDOC)
        foreach(_orbida_page orbida.1 orbida.fr.1)
            execute_process(COMMAND \${ORBIDA_SCDOC}
                            INPUT_FILE ${ORBIDA_PACKAGING_DIR}/\${_orbida_page}.scd
                            OUTPUT_FILE ${PROJECT_BINARY_DIR}/packaging/\${_orbida_page}
                            COMMAND_ERROR_IS_FATAL ANY)
            execute_process(COMMAND gzip -9 -n -c ${PROJECT_BINARY_DIR}/packaging/\${_orbida_page}
                            OUTPUT_FILE ${PROJECT_BINARY_DIR}/packaging/\${_orbida_page}.gz
                            COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    else()
        message(NOTICE \"Leaving out the manual pages: scdoc, which writes them, is not \"
                       \"installed (apt-get install scdoc).\")
    endif()
")
install(FILES ${ORBIDA_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orbida)
install(FILES ${ORBIDA_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 OPTIONAL)
install(FILES ${ORBIDA_MAN_PAGE_FR} DESTINATION ${CMAKE_INSTALL_MANDIR}/fr/man1
        RENAME orbida.1.gz OPTIONAL)

# Debian package, on Linux only: `make package`, or `cpack` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbida)
set(CPACK_PACKAGE_VENDOR Orbida)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Route orthodromique vers tout point d'une carte du monde")
set(CPACK_PACKAGE_DESCRIPTION
    "Orbida shows the great-circle route from a reference city to any point
of a world map: wherever the pointer rests, it gives the coordinates under
it, the distance in kilometres, the initial azimuth on a compass dial and
the shortest route as red dots. For radio amateurs aiming their antennas,
and for anyone curious about long-distance routes. The program speaks
English and French.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(ORBIDA_PACKAGE_MAINTAINER "Orbida maintainers <maintainers@orbida.invalid>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORBIDA_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries come from dpkg-shlibdeps; Qt loads its platform plugin at run time, which
# no linker records, and the interface is drawn in Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
# The web map button and the about box links open addresses through the desktop's opener; the
# country of a callsign comes from the country file of hamradio-files; rotctld, which turns the
# antenna rotator, comes with libhamlib-utils and often runs on another computer; Qt's own texts
# (the dialogs' buttons) in English or French come with qt6-translations-l10n.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, hamradio-files, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libhamlib-utils")
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/CheckPackageTree.cmake)
include(CPack)
