# morvanel_shared_library(TARGET NAMESPACES ns...): makes TARGET a shared
# library named libmorvanel_TARGET.so that exports the C++ namespaces given
# and nothing else (a linker version script), and that must resolve every
# symbol it uses at link time. Hosts and the control library then share one
# copy of each class, and what a library offers is stated here.
function(morvanel_shared_library target)
  cmake_parse_arguments(ARG "" "" "NAMESPACES" ${ARGN})
  set(patterns "")
  foreach(ns IN LISTS ARG_NAMESPACES)
    foreach(prefix "" "typeinfo?for?" "typeinfo?name?for?" "vtable?for?" "VTT?for?"
                   "non-virtual?thunk?to?" "virtual?thunk?to?" "guard?variable?for?")
      string(APPEND patterns "      ${prefix}${ns}::*;\n")
    endforeach()
  endforeach()
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}.exports")
  file(WRITE "${script}.in"
    "{\n  global:\n    extern \"C++\" {\n${patterns}    };\n  local: *;\n};\n")
  configure_file("${script}.in" "${script}" COPYONLY)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME morvanel_${target}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    LINK_DEPENDS "${script}")
  target_link_options(${target} PRIVATE "LINKER:--version-script=${script}")
  # clang links the sanitizer runtimes into executables only, so a
  # sanitized shared library leaves their symbols to the program.
  if(NOT MORVANEL_FUZZ)
    target_link_options(${target} PRIVATE "LINKER:--no-undefined")
  endif()
endfunction()
