# What `cmake --install` puts under the prefix (GNU layout), on Linux:
#   bin/vantrel, bin/vantrel-replay            the desktop host, the replay runner
#   include/vantrel/vantrel.h, prog.def, prog.map  the contract, the export lists
#   lib/libvantrel_scene.a                      the scene library (PIC)
#   lib/cmake/Vantrel/                          find_package(Vantrel): config, version,
#                                               VantrelModule.cmake, the MinGW toolchain
#   lib/pkgconfig/vantrel.pc                    for builds without CMake
#   lib/vantrel/demo/                           the demo module, its bitmaps, font and sounds
#   share/vantrel/scene/                        the scene library's sources (cross builds)
#   share/vantrel/font/vantrel-font.bmp         the font bitmap of the module kit's text
#   share/doc/vantrel/                          the module guide, the demo's sources
#   lib/cmake/Vantrel/VantrelWebGame.cmake      vantrel_add_web_game (needs the web host)
# The web build (emscripten) installs the same header and CMake package files
# and, in place of the native libraries, the web host:
#   lib/vantrel/web/libvantrel_web.a            the host, soft device and scene library, wasm
#   lib/vantrel/web/web_page.js, shell.html     the page's script and its HTML
# so it can go into the native install's prefix or one of its own.
# The Windows build ships its zip instead (dist/).
if(WIN32)
  return()
endif()
include(CMakePackageConfigHelpers)

set(VANTREL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vantrel)
set(VANTREL_INSTALL_DEMODIR ${CMAKE_INSTALL_LIBDIR}/vantrel/demo)
set(VANTREL_INSTALL_SCENEDIR ${CMAKE_INSTALL_DATADIR}/vantrel/scene)
set(VANTREL_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/vantrel)
set(VANTREL_INSTALL_WEBDIR ${CMAKE_INSTALL_LIBDIR}/vantrel/web)

foreach(program vantrel vantrel-replay)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The SDK: header, scene library, export list, and the scene sources for
# modules cross-built with another compiler.
install(FILES ${PROJECT_SOURCE_DIR}/sdk/vantrel.h ${PROJECT_SOURCE_DIR}/sdk/vantrel_win32.h
              ${PROJECT_SOURCE_DIR}/sdk/vantrel_kit.h
              ${PROJECT_SOURCE_DIR}/sdk/prog.def ${PROJECT_SOURCE_DIR}/sdk/prog.map
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vantrel)
if(EMSCRIPTEN)
  install(TARGETS vantrel_web ARCHIVE DESTINATION ${VANTREL_INSTALL_WEBDIR})
  install(FILES ${VANTREL_WEB_PAGE_SCRIPT} ${VANTREL_WEB_SHELL} DESTINATION ${VANTREL_INSTALL_WEBDIR})
else()
  install(TARGETS vantrel_scene EXPORT VantrelSdk ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(EXPORT VantrelSdk NAMESPACE Vantrel:: FILE VantrelSdkTargets.cmake
          DESTINATION ${VANTREL_INSTALL_CMAKEDIR})
endif()
file(GLOB scene_sources ${PROJECT_SOURCE_DIR}/scene/*.cpp)
install(FILES ${scene_sources} DESTINATION ${VANTREL_INSTALL_SCENEDIR})
# The font bitmap the build makes from the public-domain misc-fixed 8x13.
install(FILES ${VANTREL_FONT_BMP} ${PROJECT_SOURCE_DIR}/font/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel/font)

# find_package(Vantrel): the version is the project's, the one `vantrel
# --version` prints. The 32-bit MinGW build of a module builds the scene from
# its sources, so the package does not insist on this machine's pointer size.
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VantrelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VantrelConfig.cmake
  INSTALL_DESTINATION ${VANTREL_INSTALL_CMAKEDIR}
  PATH_VARS CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_BINDIR VANTREL_INSTALL_SCENEDIR
            VANTREL_INSTALL_WEBDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VantrelConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${PROJECT_BINARY_DIR}/VantrelConfig.cmake
              ${PROJECT_BINARY_DIR}/VantrelConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/VantrelModule.cmake
              ${PROJECT_SOURCE_DIR}/cmake/VantrelReplayTest.cmake
              ${PROJECT_SOURCE_DIR}/cmake/VantrelWebGame.cmake
              ${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake
        DESTINATION ${VANTREL_INSTALL_CMAKEDIR})

if(EMSCRIPTEN)
  return() # the rest is the native build's
endif()

# pkg-config, relative to the .pc file so the install can move.
file(RELATIVE_PATH pc_to_prefix ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/vantrel.pc.in ${PROJECT_BINARY_DIR}/vantrel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vantrel.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The demo, where the host's last search step finds it, and its sources with
# the guide.
if(TARGET vantrel_demo)
  install(TARGETS vantrel_demo LIBRARY DESTINATION ${VANTREL_INSTALL_DEMODIR})
  install(FILES $<TARGET_FILE_DIR:vantrel_demo>/tiles.bmp $<TARGET_FILE_DIR:vantrel_demo>/sprites.bmp
                $<TARGET_FILE_DIR:vantrel_demo>/vantrel-font.bmp
                $<TARGET_FILE_DIR:vantrel_demo>/drop.wav $<TARGET_FILE_DIR:vantrel_demo>/swap.wav
                $<TARGET_FILE_DIR:vantrel_demo>/tick.wav
          DESTINATION ${VANTREL_INSTALL_DEMODIR})
endif()
file(GLOB demo_sources ${PROJECT_SOURCE_DIR}/modules/demo/*.cpp ${PROJECT_SOURCE_DIR}/modules/demo/*.h
     ${PROJECT_SOURCE_DIR}/modules/demo/README.md)
install(FILES ${demo_sources} DESTINATION ${VANTREL_INSTALL_DOCDIR}/demo)
install(FILES ${PROJECT_SOURCE_DIR}/docs/module-guide.md ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${VANTREL_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/hello-module DESTINATION ${VANTREL_INSTALL_DOCDIR}/examples)
