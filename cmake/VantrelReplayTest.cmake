# VantrelReplayTest.cmake - a module's regression test as a CTest case.
#
#   vantrel_add_replay_test(<name> MODULE <target> SCRIPT <file> GOLDEN <dir>
#                           [SOUND_GOLDEN <file>]
#                           [OPTIONS <more vantrel-replay options>...])
#
# adds the test <name>: vantrel-replay runs the module built by <target>
# through the script and compares the frames it writes (into
# <current binary dir>/<name>.frames) with the golden images in <dir>, and,
# with SOUND_GOLDEN, the log of the module's sound calls with that file. The
# test passes when vantrel-replay exits with 0, everything compared
# matching. SCRIPT, GOLDEN and SOUND_GOLDEN are relative to the current
# source folder.
# vantrel-replay is the build's own target inside the Vantrel tree, else
# VANTREL_REPLAY_EXECUTABLE (set by find_package(Vantrel) from the install;
# not for a module cross-built for Windows, which gets no test unless it is
# set to a runner for such modules).
include_guard(GLOBAL)

function(vantrel_add_replay_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "MODULE;SCRIPT;GOLDEN;SOUND_GOLDEN" "OPTIONS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vantrel_add_replay_test(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  foreach(required MODULE SCRIPT GOLDEN)
    if(NOT ARG_${required})
      message(FATAL_ERROR "vantrel_add_replay_test(${name}): ${required} is required")
    endif()
  endforeach()
  if(NOT TARGET ${ARG_MODULE})
    message(FATAL_ERROR "vantrel_add_replay_test(${name}): no target ${ARG_MODULE}")
  endif()
  if(TARGET vantrel-replay)
    set(runner $<TARGET_FILE:vantrel-replay>)
  elseif(VANTREL_REPLAY_EXECUTABLE)
    set(runner ${VANTREL_REPLAY_EXECUTABLE})
  elseif(CMAKE_CROSSCOMPILING)
    # A module cross-built for another system: this machine's vantrel-replay
    # cannot load it. Point VANTREL_REPLAY_EXECUTABLE at a runner that can.
    message(STATUS "vantrel_add_replay_test(${name}): no vantrel-replay for ${CMAKE_SYSTEM_NAME} "
                   "modules; the test is not added")
    return()
  else()
    message(FATAL_ERROR "vantrel_add_replay_test(${name}): vantrel-replay was not found "
                        "(set VANTREL_REPLAY_EXECUTABLE)")
  endif()
  get_filename_component(script "${ARG_SCRIPT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(golden "${ARG_GOLDEN}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(sound_args "")
  if(ARG_SOUND_GOLDEN)
    get_filename_component(sounds "${ARG_SOUND_GOLDEN}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    set(sound_args --sound-golden ${sounds})
  endif()
  add_test(NAME ${name}
    COMMAND ${runner} --module $<TARGET_FILE:${ARG_MODULE}> --out ${CMAKE_CURRENT_BINARY_DIR}/${name}.frames
            --golden ${golden} ${sound_args} ${ARG_OPTIONS} ${script})
  set_tests_properties(${name} PROPERTIES LABELS replay)
endfunction()
