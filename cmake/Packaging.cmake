# The Debian package, made by CPack from the install rules: scripts/package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stonereach)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Brannock Stonereach developers")
set(CPACK_PACKAGE_CONTACT "Brannock Stonereach developers <brannock-stonereach@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "terrain editor for Ultima Online map files")
set(CPACK_PACKAGE_DESCRIPTION
    "A fast, solid desktop editor for the terrain map files of the Ultima Online
game client (map0.mul to map5.mul), made for shard builders. It paints tiles
and altitudes cell by cell, writing every change into the map file at once,
makes and applies diff and point patches, copies regions between facets and
enlarges maps.

The command-line companion stonereach-cli runs the whole-file tools from
scripts and servers.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/brannock-stonereach/stonereach")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are the libraries the binaries load, as dpkg-shlibdeps
# finds them: the Qt runtime and nothing of the build.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Folders as Debian wants them, whatever the umask of the one who packs.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
# Adds the copyright and changelog files a Debian package carries; CPack
# hands the script only the CPACK_ variables.
set(CPACK_STONEREACH_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STONEREACH_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(CPACK_STONEREACH_RELEASE_DATE ${STONEREACH_RELEASE_DATE})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianDocs.cmake)
# Only the installed files: the package is made from the build folder's
# install rules, never from the sources.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

# Everything the install rules take, so that the package can be made without
# building the tests and benchmarks.
add_custom_target(stonereach-installed)
foreach(target stonereach stonereach-cli stonereach-cli-render stonereach_icons stonereach-manpage
               stonereach-cli-manpage)
  if(TARGET ${target})
    add_dependencies(stonereach-installed ${target})
  endif()
endforeach()
