# Compiler warnings, set per target rather than for the whole directory tree.
#
# kelvane_warnings(<target>) gives one target the project's warning flags. The top-level
# CMakeLists.txt calls kelvane_warnings_everywhere() after every subdirectory is added,
# which applies them to every library and program defined in the source tree, so a new
# target gets them without a call of its own. A target added in a directory that the
# top-level file includes after that call needs kelvane_warnings(<target>) itself.

function(kelvane_warnings target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
    return()
  endif()
  get_target_property(imported ${target} IMPORTED)
  if(imported)
    return()
  endif()
  get_target_property(done ${target} KELVANE_WARNINGS)
  if(done)
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports a false -Wrestrict inside std::string's operator+ at -O3 (GCC bug 105329).
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  set_target_properties(${target} PROPERTIES KELVANE_WARNINGS ON)
endfunction()

# Applies kelvane_warnings to every target defined in `dir` and its subdirectories.
function(kelvane_warnings_everywhere)
  set(dirs ${ARGN})
  if(NOT dirs)
    set(dirs ${PROJECT_SOURCE_DIR})
  endif()
  foreach(dir ${dirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t ${targets})
      kelvane_warnings(${t})
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    if(subdirs)
      kelvane_warnings_everywhere(${subdirs})
    endif()
  endforeach()
endfunction()
