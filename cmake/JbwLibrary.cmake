# jbw_library(<layer> SOURCES ... [PUBLIC <libs>...] [PRIVATE <libs>...] [AUTOMOC])
#
# Makes the static library jbw_<layer> from src/<layer>. It exports only its own include
# folder, <build>/include/<layer>, which holds one link, <layer> -> src/<layer>: a layer
# sees another's headers, as "<layer>/File.h", only when it links that layer.
function(jbw_library layer)
  cmake_parse_arguments(L "AUTOMOC" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  set(target jbw_${layer})
  add_library(${target} STATIC ${L_SOURCES})
  set(root ${PROJECT_BINARY_DIR}/include/${layer})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
  if(L_AUTOMOC)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  endif()
endfunction()
