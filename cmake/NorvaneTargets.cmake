# Helper functions that several folders call.

# norvane_model_variant(SUFFIX [DEFINITIONS defs...] [OPTIONS opts...]
#                       [LIBS libs...])
# makes norvane_model${SUFFIX}, the module's field model (model/), compiled
# with the given definitions and options and linking LIBS.  The definitions
# are public: they change the layout of the headers' types.  Variants differ
# in definitions and options only.
function(norvane_model_variant suffix)
  cmake_parse_arguments(ARG "" "" "DEFINITIONS;OPTIONS;LIBS" ${ARGN})
  set(dir ${PROJECT_SOURCE_DIR}/model)
  set(target norvane_model${suffix})
  add_library(${target} STATIC ${dir}/FieldModel.cpp ${dir}/Wmm2005.cpp)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${target} PUBLIC ${ARG_DEFINITIONS})
  target_compile_options(${target} PRIVATE ${ARG_OPTIONS})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
endfunction()

# norvane_tool_model_variant(SUFFIX [OPTIONS opts...] [LIBS libs...])
# makes norvane_tool_model${SUFFIX}, the command-line tools' model
# (tools/model/: coefficient and SHC files of any degree, circles of latitude, the
# elements and their rates of change) over norvane_model${SUFFIX}, whose
# definitions it takes.
function(norvane_tool_model_variant suffix)
  cmake_parse_arguments(ARG "" "" "OPTIONS;LIBS" ${ARGN})
  set(dir ${PROJECT_SOURCE_DIR}/tools/model)
  set(target norvane_tool_model${suffix})
  add_library(${target} STATIC
    ${dir}/AnyDegreeSums.cpp ${dir}/CoefficientFile.cpp
    ${dir}/FieldCircle.cpp ${dir}/FieldElements.cpp ${dir}/LoadedModel.cpp
    ${dir}/ModelFile.cpp ${dir}/Poles.cpp ${dir}/ShcFile.cpp
    ${dir}/TextFields.cpp ${dir}/TimeVaryingModel.cpp ${dir}/Uncertainty.cpp
    ${dir}/Utf8Text.cpp ${dir}/WideColumnSums.cpp)
  target_link_libraries(${target} PUBLIC norvane_model${suffix}
                        PRIVATE ${ARG_LIBS})
  target_compile_options(${target} PRIVATE ${ARG_OPTIONS})
endfunction()

# norvane_host_executable(TARGET): makes the executable TARGET a host that
# modules bind to at load: all of the stand-in host (sim/) is linked in and
# exported.
function(norvane_host_executable target)
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  target_link_libraries(${target} PRIVATE
                        "$<LINK_LIBRARY:WHOLE_ARCHIVE,norvane_standin_host>")
endfunction()
