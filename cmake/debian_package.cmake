# `cpack -G DEB` in a build folder makes gridkiln_<version>_<arch>.deb: the programs in /usr/bin,
# the palette in /usr/share/gridkiln, the desktop entry, icons, metainfo, manual pages, and the
# copyright and changelog in /usr/share/doc/gridkiln.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gridkiln)
set(CPACK_PACKAGE_VENDOR "The gridkiln developers")
set(GK_MAINTAINER "The gridkiln developers <gridkiln@users.noreply.github.com>"
    CACHE STRING "The package's Maintainer field")
set(CPACK_PACKAGE_CONTACT "${GK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for small bitmap images drawn dot by dot")
# Each line becomes a line of the Description field, indented by one space: at most 79 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "gridkiln edits the small pictures of a picture set, such as the characters
and tiles of a game, kept as series of BMP files: an enlarged edit grid with
pen, eraser, flood fill and eyedropper, whole-image shifts, mirrors and
rotation. It saves in each file's own BMP format, optionally over a fixed
256-colour table and with a PNG beside every BMP, and opens and saves PNG
files too. gridkiln-bmp inspects and converts whole series from scripts.")
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

# A stripping install (`--strip`, and cpack) also drops the compiler's notes, as Debian's own
# packages do; they only name the compiler. The programs are installed by then: install rules
# run in the order they are declared.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program $<TARGET_FILE_NAME:gridkiln> $<TARGET_FILE_NAME:gridkiln-bmp>)
      execute_process(
        COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")

# The copyright file in Debian's machine-readable form, with the licence terms taken from
# LICENSE so the two cannot differ.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence_text)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${licence_text}")
set(licence_copyright "${CMAKE_MATCH_1}")
string(FIND "${licence_text}" "Permission is hereby granted" terms_start)
string(SUBSTRING "${licence_text}" ${terms_start} -1 licence_terms)
string(STRIP "${licence_terms}" licence_terms)
string(REPLACE "\n\n" "\n.\n" licence_terms "${licence_terms}")
string(REPLACE "\n" "\n " licence_terms "${licence_terms}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian_copyright.in ${PROJECT_BINARY_DIR}/doc/copyright
               @ONLY)

# The changelog of a package made here, not in Debian, is named changelog.gz.
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian_changelog ${PROJECT_BINARY_DIR}/doc/changelog
               COPYONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
  COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/doc/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog VERBATIM)
add_custom_target(gk_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/doc/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
include(CPack)
