# jbw_fake_unit(<target> [OUTPUT_DIRECTORY <dir>] DEFINITIONS <FAKE_...>...): a sound unit
# built from FakeUnit.c, shaped by the definitions listed there.
function(jbw_fake_unit target)
  cmake_parse_arguments(F "" "OUTPUT_DIRECTORY" "DEFINITIONS" ${ARGN})
  add_library(${target} MODULE ${PROJECT_SOURCE_DIR}/tests/support/FakeUnit.c)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/units/include)
  target_compile_definitions(${target} PRIVATE ${F_DEFINITIONS})
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".BSU" AUTOMOC OFF
    C_VISIBILITY_PRESET hidden)
  if(F_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${F_OUTPUT_DIRECTORY})
  endif()
endfunction()
