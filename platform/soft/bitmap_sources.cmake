# The bitmap file reader's sources (read by platform/soft and by the tests).
set(BITMAP_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_pixels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bitmap_sdl.cpp)
