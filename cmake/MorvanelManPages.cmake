# The programs' man pages, written by help2man from their --help and
# --version (MORVANEL_MANPAGES, on for the packages) and installed with the
# program's component.
if(NOT MORVANEL_MANPAGES)
  return()
endif()
find_program(MORVANEL_HELP2MAN help2man REQUIRED)
find_program(MORVANEL_GZIP gzip REQUIRED)

# program | component | what it does (the NAME line)
set(manpages
  "mvdb|tools|shell of the multivalue database files"
  "morvanel-register|tools|register a control library for this user"
  "urssaf-scenario|tools|play scenario files on the URSSAF centres control"
  "urssaf-monkey|tools|random clerk sessions checked after every action")
if(MORVANEL_WITH_QT)
  list(APPEND manpages "morvanel-host|demo|demo host of the URSSAF centres control")
endif()
set(pages "")
foreach(entry IN LISTS manpages)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 component)
  list(GET entry 2 name)
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${MORVANEL_HELP2MAN} --no-info --section=1 --name=${name} --output=${page}
            $<TARGET_FILE:${program}>
    COMMAND ${MORVANEL_GZIP} -9nf ${page}
    DEPENDS ${program} VERBATIM)
  list(APPEND pages ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endforeach()
add_custom_target(morvanel_manpages ALL DEPENDS ${pages})
