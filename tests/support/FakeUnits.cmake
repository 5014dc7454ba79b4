# Sound units for tests, each built from one C file shaped by compile definitions:
#   jbw_fake_unit(<target> [OUTPUT_DIRECTORY <dir>] DEFINITIONS <FAKE_...>...) from
#     FakeUnit.c, a unit that lists clips without carrying them;
#   jbw_misbehaving_unit(<target> [OUTPUT_DIRECTORY <dir>] DEFINITIONS <BAD_...>...) from
#     MisbehavingUnit.c, a unit that crashes, hangs, lies or reaches outside.
# Like every unit they are built without sanitizers, for the unit reader to load.
function(_jbw_test_unit target source)
  cmake_parse_arguments(F "" "OUTPUT_DIRECTORY" "DEFINITIONS" ${ARGN})
  add_library(${target} MODULE ${PROJECT_SOURCE_DIR}/tests/support/${source})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/units/include)
  target_compile_definitions(${target} PRIVATE ${F_DEFINITIONS})
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ".BSU" AUTOMOC OFF
    C_VISIBILITY_PRESET hidden)
  if(F_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${F_OUTPUT_DIRECTORY})
  endif()
  jbw_without_sanitizers(${target})
endfunction()

function(jbw_fake_unit target)
  _jbw_test_unit(${target} FakeUnit.c ${ARGN})
endfunction()

function(jbw_misbehaving_unit target)
  _jbw_test_unit(${target} MisbehavingUnit.c ${ARGN})
endfunction()
