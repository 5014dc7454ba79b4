# jbw_fuzz_target(<name> SOURCES ... LIBS ... CORPUS <files or folders>...
#                 [INCLUDES ...] [DEFINITIONS ...] [ENV ...])
#
# With JBW_FUZZ (the fuzz preset: clang, libFuzzer) makes the fuzzer <name>. Otherwise
# makes <name>_replay, which runs the target once over each stored input, and registers
# it as the test <name>_corpus: the corpora stay a regression test of every build.
function(jbw_fuzz_target name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;CORPUS;INCLUDES;DEFINITIONS;ENV" ${ARGN})
  if(JBW_FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_include_directories(${name} PRIVATE ${F_INCLUDES})
    target_compile_definitions(${name} PRIVATE ${F_DEFINITIONS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
    return()
  endif()
  add_executable(${name}_replay ${F_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/FuzzReplay.cpp)
  target_link_libraries(${name}_replay PRIVATE ${F_LIBS})
  target_include_directories(${name}_replay PRIVATE ${F_INCLUDES})
  target_compile_definitions(${name}_replay PRIVATE ${F_DEFINITIONS})
  add_test(NAME ${name}_corpus COMMAND ${name}_replay ${F_CORPUS})
  if(F_ENV)
    set_tests_properties(${name}_corpus PROPERTIES ENVIRONMENT "${F_ENV}")
  endif()
endfunction()
