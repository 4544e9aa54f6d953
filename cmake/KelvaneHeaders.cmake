# Each library publishes the headers of its own folder and no others: its include root
# in the build tree holds links to that folder alone, so a library can include only
# its own headers and those of the libraries it links. The build thus refuses an
# include that goes up the layers (the engine including a form, a fluid including the
# tables).
#
#   kelvane_headers(<target> <folder under src/> ...)
function(kelvane_headers target)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  foreach(rel ${ARGN})
    get_filename_component(parent ${root}/${rel} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${root}/${rel})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${rel} ${root}/${rel} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
