# The Debian package: `cpack -G DEB` in a build folder makes cairnwork_<version>_<arch>.deb from
# what `cmake --install` puts in place (the two programs, the data files in share/cairnwork, the
# desktop entry and its icon). Its dependencies are read from the programs by dpkg-shlibdeps.
set(CW_PACKAGE_MAINTAINER "Cairnwork maintainers <maintainers@cairnwork.invalid>"
    CACHE STRING "Maintainer field of the Debian package (Name <address>)")

set(CPACK_PACKAGE_NAME cairnwork)
set(CPACK_PACKAGE_VENDOR "Cairnwork")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "level editor for Tomb Raider 1, 1 Gold, 2 and 3")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Cairnwork lays out the rooms of a level on a plan, shapes every sector's\n"
    "floor and ceiling, textures and lights the faces, links the rooms by\n"
    "portals and builds a playable level from an existing game level used as\n"
    "a base. It comes as the editor (cairnwork) and as headless commands that\n"
    "build, check, inspect and convert levels (cairnwork-cli).")
set(CPACK_PACKAGE_INSTALL_DIRECTORY cairnwork)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME cairnwork)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CW_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)  # a tool that makes game levels, not a game
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
