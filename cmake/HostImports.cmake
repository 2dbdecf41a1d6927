# Writes the module-definition files of the host interface, run as
#   cmake -D NM=llvm-nm -D LIBRARY=host.exe -D INPUTS="a.obj|b.lib"
#         -D DEF_FILE=host.def -D EXPORTS_FILE=host-exports.def -P HostImports.cmake
#
# The host interface is C++: every name the module takes from the host is a
# decorated C++ name ("?..."), while the system DLLs' names are plain C.  So
# the host's names are the decorated names the module's objects use and do
# not define themselves.  DEF_FILE names LIBRARY as the file they are
# imported from, for the module's import library; EXPORTS_FILE lists the same
# names for a host executable to export.
foreach(variable NM LIBRARY INPUTS DEF_FILE EXPORTS_FILE)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "HostImports.cmake: ${variable} not given")
  endif()
endforeach()
string(REPLACE "|" ";" inputs "${INPUTS}")

function(decorated_symbols result)
  execute_process(COMMAND ${NM} --no-sort --format=just-symbols ${ARGN} ${inputs}
                  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "HostImports.cmake: ${NM} failed on ${inputs}")
  endif()
  string(REGEX MATCHALL "(^|\n)\\?[^\n]*" names "${listing}")
  list(TRANSFORM names STRIP)
  list(REMOVE_DUPLICATES names)
  set(${result} ${names} PARENT_SCOPE)
endfunction()

decorated_symbols(used --undefined-only)
decorated_symbols(defined --defined-only)
list(REMOVE_ITEM used ${defined})
list(SORT used)
if(NOT used)
  message(FATAL_ERROR "HostImports.cmake: the module uses no host interface")
endif()

list(JOIN used "\n" exports)
file(WRITE ${EXPORTS_FILE} "EXPORTS\n${exports}\n")
file(WRITE ${DEF_FILE} "LIBRARY ${LIBRARY}\nEXPORTS\n${exports}\n")
