# Cross-compiles for 64-bit Windows in its own C++ ABI.
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-pc-windows-msvc.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(NORVANE_MSVC_TRIPLE x86_64-pc-windows-msvc)
# Wine's headers take a 64-bit Windows build without _MSC_VER for one of
# their own, with 64-bit long; here long has 32 bits, as on Windows.
set(NORVANE_MSVC_ARCH_FLAGS -D__int64=__INT64_TYPE__)
include(${CMAKE_CURRENT_LIST_DIR}/ClangMsvc.cmake)
