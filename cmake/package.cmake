# SPDX-License-Identifier: GPL-3.0-or-later
# `make package`: a Debian package of what `cmake --install` installs.
#
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavimark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "print many HTML files and web pages in one run")
set(CPACK_PACKAGE_DESCRIPTION "Tavimark builds a job list of HTML files, folders of them and lists of web
addresses, and prints every entry through an embedded browser engine to the
default printer, without a print dialog.")
set(TAVIMARK_PACKAGE_MAINTAINER "Tavimark <packages@tavimark.com>" CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${TAVIMARK_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.tavimark.com/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps names the libraries the program links, and through the
# engine library's own symbols file its helper process too; the SVG plugins
# behind the pictures and icons come with the Qt Svg library it links. What
# no linker sees is the window's fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# libcups reaches a print server by itself (client.conf, CUPS_SERVER); only
# a printer attached to this machine needs a scheduler here. Without the
# Wayland plugin the window runs through XWayland.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups, qt6-wayland")
# The program's own translations are built into it; Qt's, for the texts of
# its print and file dialogs, come with this package. Without it those
# dialogs speak English and the rest of the program the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

# Every Debian package carries its licence and its history beside it, in
# the forms Debian's tools read: a machine-readable copyright file and a
# changelog compressed without a time stamp, so builds are reproducible.
set(TAVIMARK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tavimark)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/debian/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog
    VERBATIM)
add_custom_target(tavimark_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${TAVIMARK_DOC_DIR})

include(CPack)
