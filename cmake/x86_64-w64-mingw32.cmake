# Cross-compiles for 64-bit Windows with MinGW-w64; used to run the stand-in
# host and the module under a 64-bit-only Wine.
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(NORVANE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
