# Shared part of the MinGW-w64 toolchain files: the caller sets
# NORVANE_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first.
#
# The win32 thread model compilers need no libwinpthread-1.dll, and the GCC
# and C++ runtimes are linked statically, so the DLL and the executables need
# no MinGW runtime DLL beside them: only system DLLs and msvcrt.dll.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${NORVANE_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${NORVANE_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${NORVANE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
