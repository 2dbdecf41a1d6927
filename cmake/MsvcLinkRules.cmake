# Link rules of the MSVC-ABI cross builds (cmake/ClangMsvc.cmake): lld-link
# directly, with no default libraries; every target names the import
# libraries it needs.
set(CMAKE_CXX_CREATE_SHARED_LIBRARY
    "${CMAKE_LINKER} /nologo /dll /nodefaultlib <LINK_FLAGS> <OBJECTS> /out:<TARGET> /implib:<TARGET_IMPLIB> <LINK_LIBRARIES>")
set(CMAKE_CXX_LINK_EXECUTABLE
    "${CMAKE_LINKER} /nologo /nodefaultlib <LINK_FLAGS> <OBJECTS> /out:<TARGET> <LINK_LIBRARIES>")
