# jbw_test_timeout(<target> <seconds>): a hang guard for every test that
# gtest_discover_tests found in <target>. Runs after the discovered tests are added,
# through the list of names the discovery leaves in <target>_TESTS.
function(jbw_test_timeout target seconds)
  if(JBW_SANITIZE)  # sanitizer builds run several times slower
    math(EXPR seconds "${seconds} * 5")
  endif()
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_timeout.cmake)
  file(WRITE ${file} "if(DEFINED ${target}_TESTS)\n"
       "  set_tests_properties(\${${target}_TESTS} PROPERTIES TIMEOUT ${seconds})\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${file})
endfunction()
