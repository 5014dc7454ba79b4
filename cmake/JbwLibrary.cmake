# jbw_library(<name> SOURCES ... [FOLDER <path under src>] [PUBLIC <libs>...]
#             [PRIVATE <libs>...] [AUTOMOC])
#
# Makes the static library jbw_<name> from src/<folder> (default: src/<name>). It exports
# only its own include folder, <build>/include/<name>, which holds one link, <folder> ->
# src/<folder>: a library sees another's headers, as "<folder>/File.h", only when it links
# that library.
function(jbw_library name)
  cmake_parse_arguments(L "AUTOMOC" "FOLDER" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  if(NOT L_FOLDER)
    set(L_FOLDER ${name})
  endif()
  set(target jbw_${name})
  add_library(${target} STATIC ${L_SOURCES})
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  get_filename_component(parent ${root}/${L_FOLDER} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${L_FOLDER} ${root}/${L_FOLDER} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
  if(L_AUTOMOC)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
  endif()
endfunction()
