# The Debian package: `cpack -G DEB` in a build folder packs what the install
# rules put under /usr (programs, machine data, materials, examples, help,
# desktop entry, icons, MIME types and AppStream metainfo).
set(CPACK_PACKAGE_NAME "zeran")
set(CPACK_PACKAGE_VENDOR "Kelvard Machine Tools")
set(CPACK_PACKAGE_CONTACT "ZERAN developers <zeran@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CAM program for two-axis CNC lathes")
set(CPACK_PACKAGE_DESCRIPTION
  "Turns DXF drawings of a part's half-profile into machining cycles, shows every tool path and posts G-code for the chosen machine.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# The programs go without their debugging information.
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The Qt libraries the programs link come from dpkg-shlibdeps.
find_program(ZERAN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZERAN_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6widgets6, libqt6printsupport6, libqt6gui6, libqt6core6")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_GENERATOR "DEB")
include(CPack)
