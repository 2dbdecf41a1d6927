# CLI11 for a cross build.  It is header-only, so the build machine's copy
# serves any target, but it lies in the build machine's /usr/include beside
# its own C library, which a cross compiler must not see: only the CLI/
# directory is offered, through a link in the build tree.
find_path(NORVANE_CLI11_INCLUDE_DIR CLI/CLI.hpp NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(NORVANE_CLI11_LINK_DIR ${CMAKE_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${NORVANE_CLI11_LINK_DIR})
file(CREATE_LINK ${NORVANE_CLI11_INCLUDE_DIR}/CLI ${NORVANE_CLI11_LINK_DIR}/CLI
     SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${NORVANE_CLI11_LINK_DIR})
