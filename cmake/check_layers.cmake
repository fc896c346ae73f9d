# Checks that no source file includes a layer above its own: run with
#   cmake -D SRC=<tree>/src -P check_layers.cmake
# Fails listing each offending file, line and include. A rule names a folder
# (or a file prefix), the include prefixes its files may use and, within
# those, the ones they may not; the first rule matching a file applies.
# Includes without a folder ("scenario_values.h") stay inside their folder.
# Qt headers (<Q...>) are allowed only in a qt/ folder, the demo host and the
# Designer plugin.

cmake_policy(SET CMP0007 NEW)
set(lower "dba/,utilitaires/")
set(platform "${lower},forms/,components/")
set(no_qt "forms/qt/,components/aide/qt/")
set(control_base "${platform},morvanel/interface/,morvanel/state/")

# folder | allowed | denied
set(rules
  "dba/|dba/|"
  "utilitaires/|utilitaires/|"
  "forms/qt/|forms/|"
  "forms/|forms/|forms/qt/"
  "components/aide/qt/|${lower},forms/,components/|forms/qt/"
  "components/|${lower},forms/,components/|${no_qt}"
  "morvanel/interface/|${platform},morvanel/interface/|${no_qt}"
  "morvanel/state/|${control_base}|${no_qt}"
  "morvanel/data/|${control_base},morvanel/data/|${no_qt}"
  "morvanel/fields/|${control_base},morvanel/fields/|${no_qt}"
  "morvanel/ratehistory/|${control_base},morvanel/ratehistory/|${no_qt}"
  "morvanel/workflow/|${control_base},morvanel/workflow/|${no_qt}"
  "morvanel/shell/|${platform},morvanel/|morvanel/hosting/,${no_qt}"
  # The host side of creation by name knows the control by its interface.
  "morvanel/hosting/hosting.|forms/,morvanel/hosting/,morvanel/interface/|"
  "morvanel/hosting/registry.|morvanel/hosting/registry.h|"
  "morvanel/hosting/qt/|${platform},forms/qt/,morvanel/hosting/,morvanel/interface/|"
  "morvanel/hosting/|${platform},morvanel/|"
  # The Designer plugin offers the widget and nothing else of the control.
  "host/designer/|morvanel/hosting/qt/|"
  # A host reaches the control through creation by name only.
  "host/|${platform},demo/,morvanel/hosting/,morvanel/interface/|"
  "tools/demo/|dba/,demo/|"
  "tools/|${platform},demo/,morvanel/|")

if(NOT SRC)
  message(FATAL_ERROR "check_layers: give -D SRC=<the src folder>")
endif()
get_filename_component(SRC "${SRC}" ABSOLUTE)
file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
list(SORT files)
if(NOT files)
  message(FATAL_ERROR "check_layers: no source file under ${SRC}")
endif()
set(faults "")
foreach(file IN LISTS files)
  set(rule_found FALSE)
  foreach(rule IN LISTS rules)
    string(REGEX REPLACE "\\|.*$" "" folder "${rule}")
    string(FIND "${file}" "${folder}" at)
    if(at EQUAL 0)
      string(REGEX REPLACE "^[^|]*\\|([^|]*)\\|.*$" "\\1" allowed "${rule}")
      string(REGEX REPLACE "^[^|]*\\|[^|]*\\|(.*)$" "\\1" denied "${rule}")
      string(REPLACE "," ";" allowed "${allowed}")
      string(REPLACE "," ";" denied "${denied}")
      set(rule_found TRUE)
      break()
    endif()
  endforeach()
  if(NOT rule_found)
    string(APPEND faults "  ${file}: in no layer (add a rule)\n")
    continue()
  endif()
  file(STRINGS "${SRC}/${file}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
      set(qt_header "${CMAKE_MATCH_1}")
      if(NOT file MATCHES "(^|/)qt/" AND NOT file MATCHES "^host/")
        string(APPEND faults "  ${file}: <${qt_header}> outside a Qt binding\n")
      endif()
      continue()
    endif()
    if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(target "${CMAKE_MATCH_1}")
    if(NOT target MATCHES "/")
      continue()
    endif()
    set(ok FALSE)
    foreach(prefix IN LISTS allowed)
      string(FIND "${target}" "${prefix}" at)
      if(prefix AND at EQUAL 0)
        set(ok TRUE)
      endif()
    endforeach()
    foreach(prefix IN LISTS denied)
      string(FIND "${target}" "${prefix}" at)
      if(prefix AND at EQUAL 0)
        set(ok FALSE)
      endif()
    endforeach()
    if(NOT ok)
      string(APPEND faults "  ${file}: includes \"${target}\"\n")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the direction of the layers:\n${faults}")
endif()
list(LENGTH files count)
message(STATUS "check_layers: ${count} files, every include points down")
