# Installing the program system-wide (cmake --install) and packaging it for Debian (cpack -G DEB).
# An installed copy keeps setting.ini and datamem.txt in the user's data directory; see src/settings/apppaths.h.
include(GNUInstallDirs)

set(ORVANE_APP_ID org.orvane.Orvane)
set(ORVANE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# The program links only system libraries: no run path of its own (Qt's project setup would add $ORIGIN/../lib).
set_target_properties(orvane PROPERTIES INSTALL_RPATH "")
install(TARGETS orvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ORVANE_PACKAGING_DIR}/${ORVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVANE_PACKAGING_DIR}/${ORVANE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ORVANE_PACKAGING_DIR}/${ORVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page (French, as the program) and the changelog, compressed as Debian has them: at the highest level,
# without a name or a time stamp, so that two builds give the same bytes. The copyright file states the licence.
# The packaged version is the project's: a new version comes with its changelog entry and its manual page.
foreach(versioned changelog orvane.1)
    file(STRINGS ${ORVANE_PACKAGING_DIR}/${versioned} stated REGEX "^orvane \\(|^\\.TH " LIMIT_COUNT 1)
    if(NOT stated MATCHES "[ (\"]${PROJECT_VERSION}[)\"]")
        message(FATAL_ERROR "packaging/${versioned} does not name version ${PROJECT_VERSION}: ${stated}")
    endif()
endforeach()
set(ORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvane)
find_program(ORVANE_GZIP gzip)
foreach(source orvane.1 changelog)
    set(installed ${ORVANE_PACKAGING_DIR}/${source})
    if(ORVANE_GZIP)
        set(copy ${CMAKE_CURRENT_BINARY_DIR}/packaging/${source})
        add_custom_command(OUTPUT ${copy}.gz
                           COMMAND ${CMAKE_COMMAND} -E copy ${installed} ${copy}
                           COMMAND ${ORVANE_GZIP} -9nf ${copy}
                           DEPENDS ${installed} VERBATIM)
        add_custom_target(orvane_${source}_gz ALL DEPENDS ${copy}.gz)
        set(installed ${copy}.gz)
    endif()
    if(source STREQUAL "orvane.1")
        install(FILES ${installed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    else()
        install(FILES ${installed} DESTINATION ${ORVANE_DOC_DIR})
    endif()
endforeach()
install(FILES ${ORVANE_PACKAGING_DIR}/copyright DESTINATION ${ORVANE_DOC_DIR})

# The desktop entry and the AppStream data are checked where their validators are installed.
find_program(ORVANE_APPSTREAMCLI appstreamcli)
if(ORVANE_APPSTREAMCLI)
    add_test(NAME packaging_metainfo
             COMMAND ${ORVANE_APPSTREAMCLI} validate --no-net ${ORVANE_PACKAGING_DIR}/${ORVANE_APP_ID}.metainfo.xml)
endif()
find_program(ORVANE_DESKTOP_FILE_VALIDATE desktop-file-validate)
if(ORVANE_DESKTOP_FILE_VALIDATE)
    add_test(NAME packaging_desktop
             COMMAND ${ORVANE_DESKTOP_FILE_VALIDATE} ${ORVANE_PACKAGING_DIR}/${ORVANE_APP_ID}.desktop)
endif()
# The Debian package of this build, made with cpack and checked by lintian (Debian's package checker): no error,
# no warning.
find_program(ORVANE_LINTIAN lintian)
find_program(ORVANE_DPKG_DEB dpkg-deb)
if(ORVANE_LINTIAN AND ORVANE_DPKG_DEB)
    add_test(NAME packaging_lintian
             COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND} -DLINTIAN=${ORVANE_LINTIAN}
                     -DCONFIG=${CMAKE_BINARY_DIR}/CPackConfig.cmake -DOUT=${CMAKE_BINARY_DIR}/packaging-check
                     -P ${PROJECT_SOURCE_DIR}/cmake/CheckPackage.cmake)
    set_tests_properties(packaging_lintian PROPERTIES TIMEOUT 600)
endif()

set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front panel for the FT-847 transceiver")
set(CPACK_PACKAGE_CONTACT "Orvane developers <orvane-dev@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # orvane_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary is the package's synopsis; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orvane controls an FT-847 transceiver over its serial CAT link. Its window is a
picture of a front panel: the frequency read back three times a second, with
the mode, an S-meter and the transmit and busy lights; digit, band and mode
tuning; a range scanner; memories kept in a text file; and a Maidenhead
locator assistant. The program is in French.")
# The libraries the program links, with their versions, as dpkg-shlibdeps reads them off the binary; without it
# (no dpkg-dev), the same list by name.
# Qt's French translations, which the program loads at start-up, are one more dependency.
find_program(ORVANE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ORVANE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6serialport6 (>= 6.4), libc6, libstdc++6, libgcc-s1, qt6-translations-l10n")
endif()
include(CPack)
