# Shared part of the toolchain files for Windows in the platform's own C++
# ABI, cross-built with clang and lld.  The caller sets NORVANE_MSVC_TRIPLE
# and CMAKE_SYSTEM_PROCESSOR first.
#
# There is no C++ standard library for this target here: the module and the
# Windows stand-in host are compiled against the C runtime headers of
# msvcrt.dll and the Windows headers (both from Wine's development files),
# without exceptions, and linked against nothing by default.  Run-time type
# information is on, as in the platform's own compiler: a host may ask a
# display object it got from the module for dynamic_cast or typeid, which
# read the type information before the object's virtual table.  Import
# libraries for the system DLLs come from platform/windows/*.def.  Nor is
# there a stack-probe routine to link: a function whose frame outgrows a page
# fails to link, so the module's frames stay within one.
set(CMAKE_SYSTEM_NAME Windows)

foreach(tool CLANGXX:clang++ LLD_LINK:lld-link LLVM_AR:llvm-ar
             LLVM_DLLTOOL:llvm-dlltool LLVM_NM:llvm-nm)
  string(REPLACE ":" ";" tool ${tool})
  list(GET tool 0 variable)
  list(GET tool 1 tool)
  set(variable NORVANE_${variable})
  find_program(${variable} ${tool})
  if(NOT ${variable})
    message(FATAL_ERROR
      "${tool} not found: the Windows build needs clang, lld and llvm "
      "(Debian packages: scripts/deps.sh --list dll)")
  endif()
endforeach()

set(NORVANE_WINE_INCLUDE_DIR /usr/include/wine/wine CACHE PATH
    "Wine's headers: msvcrt/ (the C runtime) and windows/")
if(NOT EXISTS ${NORVANE_WINE_INCLUDE_DIR}/msvcrt/stdio.h OR
   NOT EXISTS ${NORVANE_WINE_INCLUDE_DIR}/windows/windows.h)
  message(FATAL_ERROR
    "no C runtime and Windows headers in ${NORVANE_WINE_INCLUDE_DIR} "
    "(Debian packages: scripts/deps.sh --list dll)")
endif()
execute_process(COMMAND ${NORVANE_CLANGXX} -print-resource-dir
                OUTPUT_VARIABLE clang_resource_dir
                OUTPUT_STRIP_TRAILING_WHITESPACE)

set(CMAKE_CXX_COMPILER ${NORVANE_CLANGXX})
set(CMAKE_CXX_COMPILER_TARGET ${NORVANE_MSVC_TRIPLE})
set(CMAKE_LINKER ${NORVANE_LLD_LINK})
set(CMAKE_AR ${NORVANE_LLVM_AR})
# The compiler checks compile only: nothing links without the C runtime's
# import library, which the project makes itself.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# -D_MSVCR_VER=0: stdio binds to msvcrt.dll, not the universal C runtime.
# -fno-ms-extensions: the Windows headers then compile with clang; __declspec
# is ignored, so exports are named at link time.
string(JOIN " " CMAKE_CXX_FLAGS_INIT
  -nostdinc
  -isystem ${clang_resource_dir}/include
  -isystem ${NORVANE_WINE_INCLUDE_DIR}/msvcrt
  -isystem ${NORVANE_WINE_INCLUDE_DIR}/windows
  -D_MSVCR_VER=0 -fno-ms-extensions
  ${NORVANE_MSVC_ARCH_FLAGS})
# Not in the cached flags above, so that a build directory configured before
# takes them too.
add_compile_options(-fno-exceptions -frtti)
set(CMAKE_CXX_STANDARD_LIBRARIES "" CACHE STRING
    "Libraries every target links: none, the C runtime included")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without Microsoft extensions clang does not define _MSC_VER, so CMake takes
# the compiler for a GNU-ABI one; the project links with lld-link itself
# (MsvcLinkRules.cmake after project()).
set(NORVANE_MSVC_ABI ON)
