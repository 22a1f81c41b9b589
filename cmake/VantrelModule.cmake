# VantrelModule.cmake - builds a Vantrel game module, prog.dll.
#
#   include(path/to/VantrelModule.cmake)
#   vantrel_add_module(<target> SOURCES a.cpp b.cpp ... [ASSETS file ...]
#                      [OUTPUT_DIRECTORY <dir>])
#
# makes <target> a shared library whose file is exactly "prog.dll" on every
# platform (no "lib" prefix, also on Linux), written into OUTPUT_DIRECTORY
# (by default <current binary dir>/<target>, so several modules of one
# project never overwrite each other). ASSETS (bitmaps and any other files the
# module reads, relative to the current source folder) are copied beside it
# as part of the build, and copied again whenever they change. It is
# compiled as C++20 and linked
# with the scene library `vantrel_scene`, and it exports its two entry points
# under their plain names, as the host looks them up:
#   - MinGW: -Wl,--kill-at drops the "@4" that 32-bit stdcall names get
#     (VProgInterface@4 becomes VProgInterface); libgcc and libstdc++ are
#     linked statically, so the module needs nothing but system DLLs.
#   - MSVC: the names come from sdk/prog.def.
#   - Linux and other ELF systems: the entry points are exported with default
#     visibility (VANTREL_EXPORTS in vantrel.h); the scene library's symbols
#     are kept out of the module's exports.
#
# The scene library it links: inside the Vantrel source tree the existing
# `vantrel_scene` target; after find_package(Vantrel) the installed
# `Vantrel::sdk`; otherwise (the Windows zip) it is built on first use from
# the SDK's layout, which this file finds relative to itself:
#   cmake/VantrelModule.cmake   this file
#   sdk/vantrel.h, sdk/prog.def the contract header and the export list
#   scene/*.cpp                 the scene library's sources

include_guard(GLOBAL)

get_filename_component(VANTREL_SDK_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT VANTREL_MODULE_DEF)
  set(VANTREL_MODULE_DEF "${VANTREL_SDK_ROOT}/sdk/prog.def")
endif()

# The scene library for modules built outside the Vantrel tree.
function(_vantrel_module_scene_library out)
  if(TARGET vantrel_scene)
    set(${out} vantrel_scene PARENT_SCOPE)
    return()
  endif()
  if(TARGET Vantrel::sdk)
    set(${out} Vantrel::sdk PARENT_SCOPE)
    return()
  endif()
  set(${out} vantrel_scene PARENT_SCOPE)
  file(GLOB scene_sources CONFIGURE_DEPENDS "${VANTREL_SDK_ROOT}/scene/*.cpp")
  if(NOT scene_sources OR NOT EXISTS "${VANTREL_SDK_ROOT}/sdk/vantrel.h")
    message(FATAL_ERROR "vantrel_add_module: no SDK under ${VANTREL_SDK_ROOT} "
                        "(expected sdk/vantrel.h and scene/*.cpp)")
  endif()
  add_library(vantrel_scene STATIC ${scene_sources})
  target_include_directories(vantrel_scene PUBLIC "${VANTREL_SDK_ROOT}/sdk")
  target_compile_features(vantrel_scene PUBLIC cxx_std_20)
  set_target_properties(vantrel_scene PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

function(vantrel_add_module target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "OUTPUT_DIRECTORY" "SOURCES;ASSETS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vantrel_add_module(${target}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "vantrel_add_module(${target}): SOURCES is required")
  endif()
  if(NOT ARG_OUTPUT_DIRECTORY)
    set(ARG_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/${target}")
  endif()
  _vantrel_module_scene_library(scene)

  add_library(${target} SHARED ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${scene})
  target_compile_features(${target} PRIVATE cxx_std_20)
  # "$<1:...>" keeps multi-configuration generators from adding a
  # per-configuration subfolder: prog.dll lands in exactly this folder. A DLL
  # is a RUNTIME output on Windows, a shared object a LIBRARY output elsewhere.
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME prog
    # Only what VANTREL_EXPORTS marks leaves the module.
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    SUFFIX ".dll"
    RUNTIME_OUTPUT_DIRECTORY "$<1:${ARG_OUTPUT_DIRECTORY}>"
    LIBRARY_OUTPUT_DIRECTORY "$<1:${ARG_OUTPUT_DIRECTORY}>"
    # The import library nobody links against stays out of the module's folder.
    ARCHIVE_OUTPUT_DIRECTORY "$<1:${CMAKE_CURRENT_BINARY_DIR}/${target}.implib>")

  # Each asset is a build output of its own, depending on its source file.
  set(copied)
  foreach(asset IN LISTS ARG_ASSETS)
    get_filename_component(source "${asset}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    get_filename_component(name "${asset}" NAME)
    set(copy "${ARG_OUTPUT_DIRECTORY}/${name}")
    if(copy IN_LIST copied)
      message(FATAL_ERROR "vantrel_add_module(${target}): two ASSETS named ${name}")
    endif()
    add_custom_command(OUTPUT "${copy}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${ARG_OUTPUT_DIRECTORY}"
      COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${copy}"
      DEPENDS "${source}"
      COMMENT "Copying ${name} beside ${target}'s prog.dll")
    list(APPEND copied "${copy}")
  endforeach()
  if(copied)
    add_custom_target(${target}_assets ALL DEPENDS ${copied})
    add_dependencies(${target} ${target}_assets)
  endif()

  if(WIN32)
    # timeGetTime, for modules that include vantrel_win32.h.
    target_link_libraries(${target} PRIVATE winmm)
  endif()
  if(MSVC)
    target_sources(${target} PRIVATE "${VANTREL_MODULE_DEF}")
  elseif(MINGW)
    target_link_options(${target} PRIVATE -Wl,--kill-at -static-libgcc -static-libstdc++)
  elseif(UNIX AND NOT APPLE)
    target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL)
    target_link_libraries(${target} PRIVATE ${CMAKE_DL_LIBS})
  endif()
endfunction()
