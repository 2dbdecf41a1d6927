# Import libraries for the Windows cross builds, made with llvm-dlltool from
# module-definition files.  32-bit stdcall names keep their @N decoration in
# the files; the 64-bit libraries are made without it.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(NORVANE_DLLTOOL_MACHINE i386:x86-64)
else()
  set(NORVANE_DLLTOOL_MACHINE i386)
endif()

# norvane_import_library(TARGET DEF_FILE): TARGET links the import library of
# the DLL that DEF_FILE describes.
function(norvane_import_library target def)
  get_filename_component(name ${def} NAME_WE)
  set(lib ${CMAKE_CURRENT_BINARY_DIR}/${name}.lib)
  set(arch_def ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
  file(READ ${def} text)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    string(REGEX REPLACE "@[0-9]+" "" text "${text}")
  endif()
  # Written only when it changes, so that the library is not made again for
  # nothing; taken literally (decorated C++ names hold @...@).
  set(written "")
  if(EXISTS ${arch_def})
    file(READ ${arch_def} written)
  endif()
  if(NOT written STREQUAL text)
    file(WRITE ${arch_def} "${text}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  add_custom_command(
    OUTPUT ${lib}
    COMMAND ${NORVANE_LLVM_DLLTOOL} -m ${NORVANE_DLLTOOL_MACHINE} -k
            -d ${arch_def} -l ${lib}
    DEPENDS ${arch_def})
  add_custom_target(${target}_lib DEPENDS ${lib})
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${lib})
  add_dependencies(${target} ${target}_lib)
endfunction()
