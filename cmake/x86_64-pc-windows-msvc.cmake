# Cross-compiles for 64-bit Windows in its own C++ ABI.
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-pc-windows-msvc.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(NORVANE_MSVC_TRIPLE x86_64-pc-windows-msvc)
set(NORVANE_MSVC_ARCH_FLAGS "")
include(${CMAKE_CURRENT_LIST_DIR}/ClangMsvc.cmake)
