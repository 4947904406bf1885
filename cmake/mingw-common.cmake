# Shared by the MinGW-w64 toolchain files, which set SPINDREL_MINGW_TRIPLET first.
# The posix-thread flavour of the compilers is used because it provides std::thread
# and std::mutex, which GoogleTest and any future code may rely on.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${SPINDREL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SPINDREL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${SPINDREL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SPINDREL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest runs the Windows test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
