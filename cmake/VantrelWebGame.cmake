# VantrelWebGame.cmake - builds a Vantrel game as a web page.
#
#   vantrel_add_web_game(<name> SOURCES a.cpp ... [ASSETS tiles.bmp ...]
#                        [TITLE "Page title"] [OUTPUT_DIRECTORY <dir>])
#
# With emscripten (configure with `emcmake cmake`), the module's sources are
# linked into the web host, and OUTPUT_DIRECTORY (default
# <current binary dir>/<name>) gets the four files to upload:
#   <name>.html   the page: the game's canvas, scaled to the window
#   <name>.js     the program's script
#   <name>.wasm   the program: the host and the module
#   <name>.data   the ASSETS, each under its file name in the program's
#                 current folder, where LoadImageA("tiles.bmp", ...) finds it
# The module keeps its source as it is for the desktop: the host finds its
# VProgInterface and VProgProcedure in the program when it loads "prog.dll".
#
# Inside the Vantrel tree the host is the `vantrel_web` target; after
# find_package(Vantrel) it is the installed web host (lib/vantrel/web/).

include_guard(GLOBAL)

function(vantrel_add_web_game name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "OUTPUT_DIRECTORY;TITLE" "SOURCES;ASSETS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vantrel_add_web_game(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "vantrel_add_web_game(${name}): SOURCES is required")
  endif()
  if(NOT EMSCRIPTEN)
    message(FATAL_ERROR "vantrel_add_web_game(${name}): a web page is built with emscripten: "
                        "configure this project with `emcmake cmake`")
  endif()
  if(TARGET vantrel_web)
    set(host vantrel_web)
    set(page_script "${VANTREL_WEB_PAGE_SCRIPT}")
    set(shell "${VANTREL_WEB_SHELL}")
  elseif(TARGET Vantrel::web)
    set(host Vantrel::web)
    set(page_script "${VANTREL_WEB_DIR}/web_page.js")
    set(shell "${VANTREL_WEB_DIR}/shell.html")
  else()
    message(FATAL_ERROR "vantrel_add_web_game(${name}): no web host: install Vantrel's web build "
                        "(cmake --preset web && cmake --install build/web --prefix <prefix>)")
  endif()
  if(NOT ARG_OUTPUT_DIRECTORY)
    set(ARG_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/${name}")
  endif()
  if(NOT ARG_TITLE)
    set(ARG_TITLE "${name}")
  endif()

  # The program runs the host's loop as it is and suspends in the calls that
  # wait for the page (Asyncify).
  set(link_options
    -sASYNCIFY=1
    -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1
    -sFORCE_FILESYSTEM=1
    -sENVIRONMENT=web
    -sEXIT_RUNTIME=0)

  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${host})
  target_compile_features(${name} PRIVATE cxx_std_20)
  set_target_properties(${name} PROPERTIES
    SUFFIX ".js"
    RUNTIME_OUTPUT_DIRECTORY "$<1:${ARG_OUTPUT_DIRECTORY}>")
  target_link_options(${name} PRIVATE ${link_options} "SHELL:--pre-js \"${page_script}\"")
  set(depends "${page_script}")
  foreach(asset ${ARG_ASSETS})
    get_filename_component(asset_path "${asset}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    get_filename_component(asset_name "${asset}" NAME)
    target_link_options(${name} PRIVATE "SHELL:--preload-file \"${asset_path}@/${asset_name}\"")
    list(APPEND depends "${asset_path}")
  endforeach()
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${depends})

  set(VANTREL_GAME_TITLE "${ARG_TITLE}")
  set(VANTREL_GAME_SCRIPT "${name}.js")
  configure_file("${shell}" "${ARG_OUTPUT_DIRECTORY}/${name}.html" @ONLY)
endfunction()
