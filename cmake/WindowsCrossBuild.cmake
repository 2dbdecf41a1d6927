# The Windows cross builds, driven from the native build: the project
# configured and built again in a directory of its own with the toolchain
# file of cmake/<ARCH>-pc-windows-msvc.cmake, in release mode and with the
# native build's NORVANE_WERROR.  A build runs only when something it
# compiles or reads has changed.

# Everything the cross builds compile or read.
file(GLOB_RECURSE norvane_cross_inputs CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/model/* ${PROJECT_SOURCE_DIR}/display/*
     ${PROJECT_SOURCE_DIR}/host/* ${PROJECT_SOURCE_DIR}/module/*
     ${PROJECT_SOURCE_DIR}/platform/*
     ${PROJECT_SOURCE_DIR}/sim/windows/* ${PROJECT_SOURCE_DIR}/sim/*.hpp
     ${PROJECT_SOURCE_DIR}/sim/CommonHost.cpp ${PROJECT_SOURCE_DIR}/common/*
     ${PROJECT_SOURCE_DIR}/tools/common/Angles.hpp
     ${PROJECT_SOURCE_DIR}/bench/windows/* ${PROJECT_SOURCE_DIR}/cmake/*)
list(APPEND norvane_cross_inputs ${PROJECT_SOURCE_DIR}/CMakeLists.txt)

# norvane_windows_cross_build(ARCH DIR): the target norvane_windows_ARCH
# builds the module and the stand-in host for ARCH-pc-windows-msvc in DIR,
# leaving DIR/bin/Norvane.dll and DIR/bin/norvane-sim.exe.
function(norvane_windows_cross_build arch dir)
  set(triple ${arch}-pc-windows-msvc)
  add_custom_command(
    OUTPUT ${dir}/bin/Norvane.dll ${dir}/bin/norvane-sim.exe
    COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR} -B ${dir}
            -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${triple}.cmake
            -DCMAKE_BUILD_TYPE=Release -DNORVANE_WERROR=${NORVANE_WERROR}
            > ${dir}.configure.log
    COMMAND ${CMAKE_COMMAND} --build ${dir}
    DEPENDS ${norvane_cross_inputs}
    COMMENT "Cross-building for ${triple}")
  add_custom_target(norvane_windows_${arch} ALL
                    DEPENDS ${dir}/bin/Norvane.dll ${dir}/bin/norvane-sim.exe)
endfunction()
