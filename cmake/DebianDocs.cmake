# Run by CPack on the staged files before it packs them: the licence becomes
# Debian's machine-readable copyright file, and a changelog for the version
# is added, both where Debian keeps them (/usr/share/doc/stonereach).
set(doc "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${CPACK_STONEREACH_DOCDIR}")
if(NOT IS_DIRECTORY "${doc}")
  message(FATAL_ERROR "No documentation folder at ${doc} in the staged package")
endif()

# The licence text after its title and copyright line, as a copyright file's
# licence paragraph wants it: each line indented, empty lines as " .".
file(READ "${CPACK_STONEREACH_LICENSE}" text)
if(NOT text MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
  message(FATAL_ERROR "${CPACK_STONEREACH_LICENSE} has no copyright line followed by the terms")
endif()
set(copyright "${CMAKE_MATCH_1}")
string(REPLACE "\n\n" "\n.\n" licence "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " licence " ${licence}\n")
string(REGEX REPLACE " $" "" licence "${licence}")
file(WRITE "${doc}/copyright"
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: Brannock Stonereach\n"
     "Upstream-Contact: ${CPACK_PACKAGE_CONTACT}\n"
     "Source: ${CPACK_PACKAGE_HOMEPAGE_URL}\n"
     "\n"
     "Files: *\n"
     "Copyright: ${copyright}\n"
     "License: Expat\n"
     "${licence}")
# The copyright file holds the licence now.
file(REMOVE "${doc}/LICENSE")

execute_process(COMMAND date -u -R -d "${CPACK_STONEREACH_RELEASE_DATE} 12:00" OUTPUT_VARIABLE when
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(WRITE "${doc}/changelog"
     "stonereach (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium\n"
     "\n"
     "  * Release ${CPACK_PACKAGE_VERSION}.\n"
     "\n"
     " -- ${CPACK_PACKAGE_CONTACT}  ${when}\n")
execute_process(COMMAND gzip -9nf "${doc}/changelog" COMMAND_ERROR_IS_FATAL ANY)
