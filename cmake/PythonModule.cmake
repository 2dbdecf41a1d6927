# NORVANE_PYTHON: the Python module norvane, built with pybind11 and numpy
# for Debian's interpreter.  On by default where those are found; when set
# ON, a missing one is an error rather than a module quietly left out.
#
# Another python3 may come first on the PATH (without numpy), so the
# interpreter is Debian's unless Python_EXECUTABLE names another.
if(EXISTS /usr/bin/python3)
  set(Python_EXECUTABLE /usr/bin/python3 CACHE FILEPATH
      "Interpreter the Python module is built and tested for")
endif()
# A sanitized extension loads into python only with GCC's sanitizer
# runtimes preloaded (tests/python does so); other compilers' builds leave
# the module out of sanitizer builds, and ThreadSanitizer builds leave it
# out too: the module's threads are the tools' own, checked there.
find_package(Python 3 QUIET COMPONENTS Interpreter Development.Module NumPy)
find_package(pybind11 CONFIG QUIET)
if(Python_FOUND AND Python_NumPy_FOUND AND pybind11_FOUND
   AND NOT (NORVANE_SANITIZE AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
   AND NOT NORVANE_SANITIZE_THREAD)
  set(python_default ON)
else()
  set(python_default OFF)
endif()
option(NORVANE_PYTHON "Build the Python module (pybind11, numpy)"
       ${python_default})
if(NORVANE_PYTHON)
  find_package(Python 3 REQUIRED COMPONENTS Interpreter Development.Module
               NumPy)
  set(PYBIND11_FINDPYTHON ON)
  find_package(pybind11 CONFIG REQUIRED)
  execute_process(
    COMMAND ${Python_EXECUTABLE} -c "import pytest"
    RESULT_VARIABLE no_pytest OUTPUT_QUIET ERROR_QUIET)
  if(no_pytest AND NORVANE_TESTS)
    message(FATAL_ERROR "${Python_EXECUTABLE} has no pytest (Debian: "
                        "python3-pytest) for the Python module's tests")
  endif()
endif()
