# The Debian package: `cpack -G DEB` in a Release build (scripts/package.sh) writes
# orvanta_<version>_amd64.deb with everything `cmake --install` installs, plus the package's own
# documents under share/doc/orvanta.

set(ORVANTA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvanta)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${ORVANTA_DOC_DIR})
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
                   COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/packaging/changelog
                           ${PROJECT_BINARY_DIR}/packaging/changelog.gz
                   DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(orvanta_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${ORVANTA_DOC_DIR})

set(CPACK_PACKAGE_NAME orvanta)
set(CPACK_PACKAGE_VENDOR "Orvanta 工房")
set(CPACK_PACKAGE_CONTACT "Orvanta developers <dev@orvanta.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://orvanta.example/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY orvanta)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the program itself (dpkg-shlibdeps); the window's font does not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
# On a Wayland desktop the window runs natively with Qt's Wayland plug-in; without it, through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The first line is the summary; CPack indents the rest and turns the empty line into " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "small password keeper for Japanese users
Orvanta keeps, for each registration destination (a product or web-site
name), any number of IDs, each with a password and an optional e-mail
address, in one small window with Japanese captions and messages. It copies
a password to the clipboard, generates random passwords and backs its data
file up to a floppy drive.

The data file psw.ini is Shift_JIS text, exactly as the program writes it
on Windows, so it moves between the two unchanged. Passwords are stored
through a substitution code keyed to the machine: this hides them from a
casual look at the file and is not encryption.")

include(CPack)
