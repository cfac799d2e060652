# `cpack -G DEB` in a build folder makes gridkiln_<version>_<arch>.deb: the programs in /usr/bin,
# the palette in /usr/share/gridkiln, the desktop entry, icons, metainfo and manual pages.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gridkiln)
set(CPACK_PACKAGE_VENDOR "The gridkiln developers")
set(CPACK_PACKAGE_CONTACT "The gridkiln developers <gridkiln@localhost>"
    CACHE STRING "The package's Maintainer field")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for small bitmap images drawn dot by dot")
set(CPACK_PACKAGE_DESCRIPTION
    "gridkiln edits the small pictures of a picture set, such as the characters and tiles of a
game, kept as series of BMP files: an enlarged edit grid with pen, eraser, flood fill and
eyedropper, whole-image shifts, mirrors and rotation, and saves in each file's own BMP format,
optionally over a fixed 256-colour table and with a PNG beside every BMP. gridkiln-bmp converts
and inspects whole series from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries come from dpkg-shlibdeps (dpkg-dev); what it cannot see is named here: Qt's
# platform plugins, loaded at run time, and the Japanese font of the options dialog.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic")
include(CPack)
