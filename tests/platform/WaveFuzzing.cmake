# A short fuzzing run of the WAVE decoding path; scripts/fuzz-wav builds its own clang tree.
find_program(JBW_CLANGXX clang++)
if(JBW_CLANGXX AND NOT JBW_SANITIZE)
  add_test(NAME wav_fuzz_smoke COMMAND ${PROJECT_SOURCE_DIR}/scripts/fuzz-wav 30)
  set_tests_properties(wav_fuzz_smoke PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
