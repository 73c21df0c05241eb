# The program as a Linux package. `cmake --install` lays it out under a prefix
# (bin/, share/tarnwick-editor/, share/applications/, share/icons/), and
# `cpack -G DEB` in a build tree makes a .deb of that layout under /usr.
include(GNUInstallDirs)
install(TARGETS tarnwick-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_PACKAGE_NAME tarnwick-editor)
set(CPACK_PACKAGE_VENDOR "Tarnwick Editor")
set(CPACK_PACKAGE_CONTACT "Tarnwick Editor developers <tarnwick-editor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multiple-document text editor for Japanese Shift-JIS files")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarnwick Editor edits plain-text files in Japanese Shift-JIS (code page 932)\n"
    "as raw bytes: every byte you did not touch is saved exactly as it was read.\n"
    "It has its own text control with line numbers, marks for line ends and\n"
    "full-width spaces, word wrap, find and replace through every open document,\n"
    "and hands files to a copy that is already running.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
# dpkg-shlibdeps adds the libraries the program links (Qt 6, the C++
# runtime); the font its text control draws with is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fcitx5-frontend-qt6 | ibus")

include(CPack)
