# The Debian package (cpack -G DEB, see scripts/package.sh): tunvale_<version>_<arch>.deb with
# the install layout under /usr. dpkg-shlibdeps computes the library dependencies (the web
# engine's helper process included, through its library's shlibs). The desktop, MIME and icon
# caches need no maintainer scripts: desktop-file-utils, shared-mime-info and the icon theme
# cache watch their folders through dpkg triggers and refresh them after the install.
set(CPACK_PACKAGE_NAME tunvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quillon)
set(CPACK_PACKAGE_CONTACT "Tunvale developers <support@tunvale.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop catalogue for a private music collection")
set(CPACK_PACKAGE_DESCRIPTION
    "Tunvale keeps a catalogue of albums and their tracks: artists, labels, people, dates,
prices, loans, lyrics and notes, in one encrypted catalogue file. It finds, prints and
exports album lists and looks audio CDs up at a CDDB server. The command-line companion
tunvale-cli does the same work for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.tunvale.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The icon theme owns the folders the icons go to; dpkg-shlibdeps cannot know it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info")

set(CPACK_GENERATOR DEB)
include(CPack)
