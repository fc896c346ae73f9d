# The version rule a host developer relies on: find_package(Morvanel X.Y)
# takes this kit only when X is its major version and X.Y is not newer than
# it; and every program answers --version with the same number.
#   cmake -D VERSION=.. -D VERSION_FILE=.. -D WORK=.. -D PROGRAMS="p1;p2" -P kit_version.cmake
cmake_minimum_required(VERSION 3.25)
string(REGEX MATCH "^([0-9]+)\\.([0-9]+)" _ "${VERSION}")
set(major ${CMAKE_MATCH_1})
set(minor ${CMAKE_MATCH_2})
math(EXPR next_minor "${minor} + 1")
math(EXPR next_major "${major} + 1")

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/kit" "${WORK}/probe")
file(COPY "${VERSION_FILE}" DESTINATION "${WORK}/kit")
file(WRITE "${WORK}/kit/MorvanelConfig.cmake" "set(Morvanel_PROBED 1)\n")
file(WRITE "${WORK}/probe/CMakeLists.txt"
  "cmake_minimum_required(VERSION 3.25)\nproject(Probe NONE)\n"
  "find_package(Morvanel \${WANT} CONFIG REQUIRED)\n")

# wanted version -> whether this kit must be taken
foreach(case "${major}.${minor}:1" "${major}.0:1" "${major}:1"
             "${major}.${next_minor}:0" "${next_major}.0:0")
  string(REPLACE ":" ";" case "${case}")
  list(GET case 0 want)
  list(GET case 1 taken)
  file(REMOVE_RECURSE "${WORK}/build")
  execute_process(COMMAND ${CMAKE_COMMAND} -S "${WORK}/probe" -B "${WORK}/build"
                          -DMorvanel_DIR=${WORK}/kit -DWANT=${want}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(taken AND NOT rc EQUAL 0)
    message(FATAL_ERROR "kit ${VERSION} refused for find_package(Morvanel ${want}):\n${err}")
  elseif(NOT taken AND rc EQUAL 0)
    message(FATAL_ERROR "kit ${VERSION} taken for find_package(Morvanel ${want})")
  endif()
endforeach()

foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND "${program}" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  get_filename_component(name "${program}" NAME)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "${name} ${VERSION}\n")
    message(FATAL_ERROR "${name} --version: exit ${rc}, printed '${out}'")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
