# 32-bit Windows build with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(SPINDREL_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
