# The bitmap file reader's sources (read by platform/soft and by the tests).
# Builds with SDL2 (all but Windows and the web) also read the plain files through SDL's
# loader, and say so with BITMAP_DEFINITIONS.
set(BITMAP_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_pixels.cpp)
set(BITMAP_DEFINITIONS "")
if(NOT WIN32 AND NOT EMSCRIPTEN)
  list(APPEND BITMAP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/bitmap_sdl.cpp)
  set(BITMAP_DEFINITIONS VANTREL_SOFT_SDL=1)
endif()
