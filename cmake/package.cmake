# `make package`: a Debian package of what `cmake --install` installs.
#
# dpkg-shlibdeps finds the packages of the libraries the program links. The
# rest are what it loads or starts at run time, which no linker sees: the
# browser engine's helper process, the SVG image and icon plugins behind the
# button pictures, and the fonts the window's layout is measured in.
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
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6webenginecore6-bin, libqt6svg6, fonts-liberation")
# A local print scheduler and the native platform plugin on Wayland desktops
# (without it the program runs through XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups, qt6-wayland")

include(CPack)
