# jbw_plain_build(<target>): builds the target without the sanitizers of the preset.
# For what runs or loads outside the program's own process: the sound-unit reader,
# whose limits leave a sanitizer no room, and the units it loads.
function(jbw_plain_build target)
  foreach(property COMPILE_OPTIONS LINK_OPTIONS)
    get_target_property(options ${target} ${property})
    if(options)
      list(FILTER options EXCLUDE REGEX "^-fsanitize")
      set_target_properties(${target} PROPERTIES ${property} "${options}")
    endif()
  endforeach()
endfunction()
