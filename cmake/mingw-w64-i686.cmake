# Cross build for 32-bit Windows; used only to check that the code still builds for i686.
set(MINGW_TRIPLE i686-w64-mingw32 CACHE STRING "MinGW target triple")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
set(CMAKE_SYSTEM_PROCESSOR x86)
