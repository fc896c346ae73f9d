# Fails when a test of the suite has no readable name of its own: a case of a
# parameterised suite named by its index only ("Suite/Test.Case/3"), or a name
# holding a printed value (raw bytes, a pointer) that changes between builds.
# -D BUILD=<build directory>
execute_process(COMMAND "${CMAKE_CTEST_COMMAND}" --test-dir "${BUILD}" -N
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ctest -N failed:\n${listing}")
endif()
string(REGEX MATCHALL "Test +#[0-9]+: [^\n]*" tests "${listing}")
list(LENGTH tests count)
if(count LESS 10)
  message(FATAL_ERROR "only ${count} tests listed:\n${listing}")
endif()
set(bad "")
foreach(line IN LISTS tests)
  string(REGEX REPLACE "^Test +#[0-9]+: " "" name "${line}")
  if(name MATCHES "/[0-9]+$" OR name MATCHES "[ #<>\"]|0x")
    string(APPEND bad "  ${name}\n")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "tests without a readable name:\n${bad}")
endif()
message(STATUS "${count} test names checked")
