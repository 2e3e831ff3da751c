# korvane_module(TARGET): gives a module's library its own include directory.
# The directory holds a single link named after the module's folder, so that
# its headers are included as "core/angles.h" and a module sees the headers
# of exactly the modules it links, no others.
function(korvane_module target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
