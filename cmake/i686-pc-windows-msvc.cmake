# Cross-compiles for 32-bit Windows, the host's platform, in its own C++ ABI.
#   cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-pc-windows-msvc.cmake
# All floating-point arithmetic is SSE2, whose results do not depend on the
# precision a host may have set in the x87 control word.
set(CMAKE_SYSTEM_PROCESSOR X86)
set(NORVANE_MSVC_TRIPLE i686-pc-windows-msvc)
set(NORVANE_MSVC_ARCH_FLAGS -msse2 -mfpmath=sse)
include(${CMAKE_CURRENT_LIST_DIR}/ClangMsvc.cmake)
