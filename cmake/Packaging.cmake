# The Debian package: `cpack -G DEB` in a Release build folder (see
# scripts/package-check.sh). Each folder installs its own files; this only
# describes the package around them.
set(CPACK_PACKAGE_NAME "${PROJECT_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The 蒼天姓名判断 for Linux authors")
set(CPACK_PACKAGE_CONTACT "${SOTEN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese name divination from stroke counts (${SOTEN_PROGRAM_NAME})")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
# The package installs into /usr; a plain `cmake --install` keeps its own prefix.
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# Binaries without their debug information.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Below the summary line (CPACK_PACKAGE_DESCRIPTION_SUMMARY); CPack indents
# each line and turns an empty one into the paragraph mark.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Type a surname and a given name and choose the stroke-counting style,
新字式 or 本字式: the program counts the strokes of every character from its
built-in dictionary, derives the five fortune numbers, grades each with a
keyword and writes a four-paragraph reading. The result can be saved as a
Shift-JIS text file, copied or printed on one A4 landscape page.

The package holds the desktop program soten and the command-line
program soten-cli.")
# The libraries come from the binaries themselves; the printed page and the
# windows draw in the IPA faces.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho")

include(CPack)
