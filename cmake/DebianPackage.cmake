# Debian packages from the tree (cpack -G DEB, or the "package" target):
#   facekeeper_<version>_amd64.deb        the programs, libraries, translations, desktop entry,
#                                         icons, the backup tool's systemd units and manual page
#   libcamlink-dev_<version>_amd64.deb    camlink.h, camlink.pc and the CMake package
# Their dependencies are computed from the binaries by dpkg-shlibdeps. Configure with
# -DCMAKE_INSTALL_PREFIX=/usr so that the paths written into the installed files are the
# packaged ones.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME facekeeper)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Face-library manager for face-recognition IP cameras")
set(CPACK_PACKAGE_CONTACT "facekeeper developers <facekeeper@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL facekeeper libcamlink-dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The project's own shared libraries, for dpkg-shlibdeps to resolve the programs' needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/sdk ${CMAKE_BINARY_DIR}/shellframe ${CMAKE_BINARY_DIR}/standins/vizor)
set(CPACK_DEBIAN_FACEKEEPER_PACKAGE_NAME facekeeper)
set(CPACK_DEBIAN_FACEKEEPER_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_LIBCAMLINK-DEV_PACKAGE_NAME libcamlink-dev)
set(CPACK_DEBIAN_LIBCAMLINK-DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LIBCAMLINK-DEV_PACKAGE_DEPENDS "facekeeper (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_LIBCAMLINK-DEV_DESCRIPTION "camlink SDK: header, pkg-config and CMake files")
include(CPack)
