# The kit for host developers: `cmake --install` puts the shared libraries,
# their public headers, the control library with its help pages, the tools
# and a CMake package in the prefix; `find_package(Morvanel CONFIG)` then
# gives the imported targets Morvanel::dba, ::utilitaires, ::forms,
# ::components, ::hosting, ::morvanel (and ::forms_qt, ::components_qt,
# ::hosting_qt with Qt). See docs/hosting.md.
include(CMakePackageConfigHelpers)

set(MORVANEL_KIT_TARGETS dba utilitaires forms components morvanel_hosting)
if(MORVANEL_WITH_QT)
  list(APPEND MORVANEL_KIT_TARGETS forms_qt components_qt morvanel_hosting_qt)
endif()
foreach(target IN LISTS MORVANEL_KIT_TARGETS)
  string(REGEX REPLACE "^morvanel_" "" export_name ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${export_name})
endforeach()

set(MORVANEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Morvanel)
install(TARGETS ${MORVANEL_KIT_TARGETS} morvanel
  EXPORT MorvanelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/morvanel)
# The control library looks for its help pages beside itself.
install(FILES ${MORVANEL_HELP_FILES} DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS mvdb morvanel-register RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET morvanel_designer)
  # Where Designer looks for plugins: Qt's own folder for a system install,
  # else plugins/designer in the prefix (QT_PLUGIN_PATH names it).
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr" AND QT6_INSTALL_PLUGINS)
    set(MORVANEL_DESIGNER_DIR ${QT6_INSTALL_PLUGINS}/designer)
  else()
    set(MORVANEL_DESIGNER_DIR ${CMAKE_INSTALL_LIBDIR}/qt6/plugins/designer)
  endif()
  install(TARGETS morvanel_designer LIBRARY DESTINATION ${MORVANEL_DESIGNER_DIR})
endif()

install(EXPORT MorvanelTargets NAMESPACE Morvanel:: DESTINATION ${MORVANEL_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/MorvanelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/MorvanelConfig.cmake
  INSTALL_DESTINATION ${MORVANEL_CMAKE_DIR})
# One major version, one ABI: the SONAME carries the major number, and a
# host asking for X.Y takes any kit X.Z with Z >= Y.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/MorvanelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/MorvanelConfig.cmake
              ${PROJECT_BINARY_DIR}/MorvanelConfigVersion.cmake
  DESTINATION ${MORVANEL_CMAKE_DIR})
