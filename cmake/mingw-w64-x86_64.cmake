# Cross-compiles the Windows build on a Debian machine with the MinGW-w64
# toolchain, and runs what the build and ctest must run through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SB_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model: its libstdc++ has std::mutex and std::thread,
# which GoogleTest needs.
set(CMAKE_C_COMPILER ${SB_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SB_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SB_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The program must start on a bare Windows machine: no MinGW runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Wine keeps its Windows installation in a prefix directory; the first start
# creates it, which takes a while, so it lives in the build directory and is
# reused by every later test run. A WINEPREFIX given at configure time wins.
if(DEFINED ENV{WINEPREFIX})
  set(SB_WINEPREFIX "$ENV{WINEPREFIX}" CACHE PATH "Wine prefix for running the tests")
else()
  set(SB_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix for running the tests")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR
  env WINEDEBUG=-all WINEPREFIX=${SB_WINEPREFIX} sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
