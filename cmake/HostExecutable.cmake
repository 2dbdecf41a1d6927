# NORVANE_HOST_EXECUTABLE: the file name of the host executable that exports
# the plug-in interface.  The Windows loader binds the module's host imports
# to the module of that name in the process, so it is a bare file name.
set(NORVANE_HOST_EXECUTABLE norvane-sim.exe CACHE STRING
    "File name of the host executable the module's host imports bind to")

if(NORVANE_HOST_EXECUTABLE STREQUAL "")
  message(FATAL_ERROR
    "NORVANE_HOST_EXECUTABLE is empty: give the file name of the host "
    "executable, such as norvane-sim.exe")
elseif(NORVANE_HOST_EXECUTABLE MATCHES "[/\\\\:]")
  message(FATAL_ERROR
    "NORVANE_HOST_EXECUTABLE is a path (${NORVANE_HOST_EXECUTABLE}): give "
    "the host executable's file name alone; the loader binds imports by name")
elseif(NOT NORVANE_HOST_EXECUTABLE MATCHES "\\.[eE][xX][eE]$")
  message(FATAL_ERROR
    "NORVANE_HOST_EXECUTABLE (${NORVANE_HOST_EXECUTABLE}) does not end in "
    ".exe: give the host executable's file name")
elseif(NOT NORVANE_HOST_EXECUTABLE MATCHES "^[A-Za-z0-9._+-]+$")
  message(FATAL_ERROR
    "NORVANE_HOST_EXECUTABLE (${NORVANE_HOST_EXECUTABLE}) holds characters "
    "other than letters, digits and . _ + -")
endif()
