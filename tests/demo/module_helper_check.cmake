# Builds a tiny module with cmake/VantrelModule.cmake the way a module author
# outside this tree does (the helper then builds the scene library from its
# sources), for this machine and, when the MinGW cross compiler is installed,
# for 32-bit Windows, and checks what the host relies on: a file named
# exactly prog.dll in the folder asked for, exporting VProgInterface and
# VProgProcedure under their plain names and nothing else, and on Windows
# importing nothing but system DLLs.
#
#   cmake -DSOURCE_DIR=<repo> -DWORK_DIR=<scratch folder> -P module_helper_check.cmake

foreach(var SOURCE_DIR WORK_DIR)
  if(NOT ${var})
    message(FATAL_ERROR "${var} is required")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}/project")
file(WRITE "${WORK_DIR}/project/game.cpp" [=[
#include "vantrel.h"
VANTREL_EXPORTS
namespace {
VProg *prog = nullptr;
VLayer layer; // uses the scene library
}
int32_t VANTREL_STDCALL VProgInterface(VProg *p) { prog = p; return p != nullptr; }
int32_t VANTREL_STDCALL VProgProcedure(int32_t) { return layer.first == nullptr ? 0 : 1; }
]=])
file(WRITE "${WORK_DIR}/project/art/tiles.bmp" "first colours")
file(WRITE "${WORK_DIR}/project/CMakeLists.txt" "
cmake_minimum_required(VERSION 3.25)
project(game CXX)
include(\"${SOURCE_DIR}/cmake/VantrelModule.cmake\")
include(\"${SOURCE_DIR}/cmake/VantrelModule.cmake\") # included twice on purpose
vantrel_add_module(game SOURCES game.cpp ASSETS art/tiles.bmp OUTPUT_DIRECTORY \${CMAKE_BINARY_DIR}/out)
")

function(build_module name)
  set(bin "${WORK_DIR}/${name}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -S "${WORK_DIR}/project" -B "${bin}" ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: configure failed:\n${out}")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" --build "${bin}" -j2
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: build failed:\n${out}")
  endif()
  if(NOT EXISTS "${bin}/out/prog.dll")
    file(GLOB_RECURSE made "${bin}/*prog*")
    message(FATAL_ERROR "${name}: no out/prog.dll; made: ${made}")
  endif()
endfunction()

# Exactly the two entry points, undecorated, and nothing else.
function(expect_exports name listing)
  string(REGEX MATCHALL "VProg[A-Za-z_@0-9]*" found "${listing}")
  list(SORT found)
  if(NOT found STREQUAL "VProgInterface;VProgProcedure")
    message(FATAL_ERROR "${name}: exports are '${found}':\n${listing}")
  endif()
endfunction()

# The asset beside prog.dll, as it is in the source folder: copied with the
# build, and copied again when it alone changes.
function(expect_asset name want)
  file(READ "${WORK_DIR}/${name}/out/tiles.bmp" got)
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "${name}: out/tiles.bmp holds '${got}', not '${want}'")
  endif()
endfunction()

# This machine.
build_module(native -DCMAKE_BUILD_TYPE=Release)
expect_asset(native "first colours")
execute_process(COMMAND "${CMAKE_COMMAND}" -E sleep 1)
file(WRITE "${WORK_DIR}/project/art/tiles.bmp" "changed colours")
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK_DIR}/native" RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "native: the rebuild failed:\n${out}")
endif()
expect_asset(native "changed colours")
find_program(NM nm REQUIRED)
execute_process(COMMAND "${NM}" -D --defined-only "${WORK_DIR}/native/out/prog.dll"
                OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
expect_exports(native "${symbols}")
string(REGEX MATCHALL " [TDBRW] [^\n]+" defined "${symbols}")
list(LENGTH defined count)
if(NOT count EQUAL 2)
  message(FATAL_ERROR "native: ${count} symbols exported, want 2:\n${symbols}")
endif()

# 32-bit Windows, when the cross compiler is there.
find_program(MINGW_CXX i686-w64-mingw32-g++-win32)
find_program(OBJDUMP i686-w64-mingw32-objdump)
if(NOT MINGW_CXX OR NOT OBJDUMP)
  message(STATUS "MinGW-w64 (i686) not installed: Windows build not checked")
  return()
endif()
build_module(windows -DCMAKE_BUILD_TYPE=Release
             "-DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-i686.cmake")
execute_process(COMMAND "${OBJDUMP}" -p "${WORK_DIR}/windows/out/prog.dll"
                OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n([^\n]+\n)*" table "${dump}")
expect_exports(windows "${table}")
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(dll ${imports})
  string(TOLOWER "${dll}" dll)
  if(NOT dll MATCHES "dll name: (kernel32|msvcrt|user32)\\.dll")
    message(FATAL_ERROR "windows: imports ${dll}, not a system DLL")
  endif()
endforeach()
message(STATUS "prog.dll built and exported as the host expects, for Linux and Windows")
