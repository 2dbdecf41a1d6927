# The libraries of the native build, each found once, here, as an imported
# target that the folders link:
#   CLI11::CLI11                    command lines (sim/, tools/, testsupport/)
#   GeographicLib::GeographicLib    angles and dates the tools read; the
#                                   tests' independent reference field
#   PkgConfig::cairo                drawing: the page images and the charts,
#                                   with SVG and fonts
#   PkgConfig::libpng, PkgConfig::imagequant   the charts' palette PNGs
#   shapelib::shp                   the charts' coastlines
#   Threads::Threads                the tools' work shared among threads
#   GTest::gtest_main, nlohmann_json::nlohmann_json, LibXml2::LibXml2
#                                   the tests (NORVANE_TESTS)
#   benchmark::benchmark            the benchmarks (NORVANE_BENCH)
# The module itself links none of them.

find_package(PkgConfig REQUIRED)
find_package(CLI11 CONFIG REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(cairo REQUIRED IMPORTED_TARGET cairo cairo-svg fontconfig)
pkg_check_modules(libpng REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(imagequant REQUIRED IMPORTED_TARGET imagequant)
# PROJ reads the EGM96 geoid for heights above mean sea level.
pkg_check_modules(proj REQUIRED IMPORTED_TARGET proj)

# norvane_imported_library(TARGET HEADER LIBRARY): TARGET, the library
# LIBRARY whose headers hold HEADER.
function(norvane_imported_library target header library)
  string(MAKE_C_IDENTIFIER ${target} id)
  find_path(${id}_INCLUDE_DIR ${header} REQUIRED)
  find_library(${id}_LIBRARY ${library} REQUIRED)
  add_library(${target} UNKNOWN IMPORTED)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${${id}_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${${id}_INCLUDE_DIR})
endfunction()
norvane_imported_library(GeographicLib::GeographicLib
                         GeographicLib/Constants.hpp GeographicLib)
norvane_imported_library(shapelib::shp shapefil.h shp)

if(NORVANE_TESTS)
  find_package(GTest REQUIRED)
  find_package(nlohmann_json REQUIRED)
  find_package(LibXml2 REQUIRED)
endif()
if(NORVANE_BENCH)
  find_package(benchmark REQUIRED)
endif()
