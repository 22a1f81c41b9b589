# The Linux packages, made by CPack from the install rules:
#   cpack --config build/native/CPackConfig.cmake -B <dir>
# gives <dir>/vantrel_<version>_<arch>.deb (installed under /usr, as Debian
# packages are; its dependencies are read from the binaries with
# dpkg-shlibdeps) and <dir>/vantrel-<version>-Linux.tar.gz (the same tree
# under one top folder, to unpack anywhere).
# The Windows zip is made by dist/ as before.
if(WIN32)
  return()
endif()

set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Vantrel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Full-screen 2-D engine host for game modules")
set(CPACK_PACKAGE_DESCRIPTION "Vantrel owns the window, the display and the frame loop: the game\n\
is a module, prog.dll, that it loads. With the demo module and the SDK for\n\
building modules (header, scene library, CMake package and pkg-config file).")
set(CPACK_PACKAGE_CONTACT "Vantrel developers <vantrel@localhost>")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME vantrel-${PROJECT_VERSION}-Linux)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

include(CPack)
