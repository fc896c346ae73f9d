# The control library must use the shared database, forms, components and
# utility libraries, not carry copies of its own: a host would then hold two
# copies of the same classes. Run with -D LIBRARY=<libmorvanel.so>; fails when
# the library defines one of the functions below (each defined in a .cpp of
# its shared library, so a copy means a static link), or does not need the
# shared library that defines it.
find_program(NM nm REQUIRED)
find_program(READELF readelf REQUIRED)
execute_process(COMMAND ${NM} -C --defined-only ${LIBRARY}
  OUTPUT_VARIABLE defined RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
execute_process(COMMAND ${READELF} -d ${LIBRARY} OUTPUT_VARIABLE dynamic)

set(faults "")
foreach(pair
    "libmorvanel_dba.so|dba::Database::Open("
    "libmorvanel_forms.so|forms::Form::Get("
    "libmorvanel_components.so|components::DroitsUtilisateur::Fixe("
    "libmorvanel_utilitaires.so|utilitaires::Utilitaires::Filtrer_Nombre(")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 shared)
  list(GET pair 1 symbol)
  string(FIND "${defined}" " ${symbol}" at)
  if(NOT at EQUAL -1)
    string(APPEND faults "  ${LIBRARY} defines its own ${symbol}...\n")
  endif()
  string(FIND "${dynamic}" "[${shared}" needed)
  if(needed EQUAL -1)
    string(APPEND faults "  ${LIBRARY} does not use ${shared}\n")
  endif()
endforeach()
if(faults)
  message(FATAL_ERROR "More than one copy across the host boundary:\n${faults}")
endif()
