# Runs the scenario runner on a scenario that must fail, and passes only
# when it exits with 1 and names the expected place and text.
# -D RUNNER=... -D DB=... -D SCENARIO=... -D PATTERN=... [-D PATTERN2=...]
execute_process(
  COMMAND "${RUNNER}" --db "${DB}" --fresh-demo "${SCENARIO}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
set(all "${out}${err}")
if(NOT status EQUAL 1)
  message(FATAL_ERROR "exit status ${status}, expected 1\n${all}")
endif()
foreach(p IN ITEMS "${PATTERN}" "${PATTERN2}")
  if(p AND NOT all MATCHES "${p}")
    message(FATAL_ERROR "output does not match \"${p}\":\n${all}")
  endif()
endforeach()
message(STATUS "failed as expected:\n${all}")
