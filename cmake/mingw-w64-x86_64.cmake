# Cross-building for 64-bit Windows with Debian's MinGW-w64 (posix thread model).
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QB_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QB_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QB_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QB_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QB_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime is linked in, so that an .exe runs with no DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine when it is there.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(QB_WINE NAMES wine wine64)
  if(QB_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QB_WINE})
  endif()
endif()

# -O2 as in the Linux build (RelWithDebInfo), without the debug information.
set(CMAKE_CXX_FLAGS_RELEASE_INIT "-O2 -DNDEBUG")
set(CMAKE_C_FLAGS_RELEASE_INIT "-O2 -DNDEBUG")
# GCC 12 warns falsely about std::string concatenation at -O2 here (GCC bug 105651).
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
