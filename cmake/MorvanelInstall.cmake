# The kit for host developers: `cmake --install` puts the shared libraries,
# their public headers, the control library with its help pages, the tools
# and a CMake package in the prefix; `find_package(Morvanel CONFIG)` then
# gives the imported targets Morvanel::dba, ::utilitaires, ::forms,
# ::components, ::hosting, ::morvanel (and ::forms_qt, ::components_qt,
# ::hosting_qt with Qt). See docs/hosting.md.
#
# Each file belongs to one component, which is one Debian package of
# cmake/MorvanelPackage.cmake: runtime (libmorvanel0), dev (libmorvanel-dev),
# tools (morvanel-tools), demo (morvanel-demo), designer
# (morvanel-designer-plugin).
include(CMakePackageConfigHelpers)

set(MORVANEL_KIT_TARGETS dba utilitaires forms components morvanel_hosting)
if(MORVANEL_WITH_QT)
  list(APPEND MORVANEL_KIT_TARGETS forms_qt components_qt morvanel_hosting_qt)
endif()
foreach(target IN LISTS MORVANEL_KIT_TARGETS)
  string(REGEX REPLACE "^morvanel_" "" export_name ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${export_name})
endforeach()

# The control library is loaded by name, never linked: it lives in a folder
# of its own with its help pages, where it looks for them.
set(MORVANEL_CONTROL_DIR ${CMAKE_INSTALL_LIBDIR}/morvanel)
set(MORVANEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Morvanel)
# Policy: shared libraries are not executable.
set(lib_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(TARGETS ${MORVANEL_KIT_TARGETS}
  EXPORT MorvanelTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} PERMISSIONS ${lib_permissions}
    COMPONENT runtime NAMELINK_COMPONENT dev
  FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/morvanel COMPONENT dev)
install(TARGETS morvanel EXPORT MorvanelTargets
  LIBRARY DESTINATION ${MORVANEL_CONTROL_DIR} PERMISSIONS ${lib_permissions}
    COMPONENT runtime)
install(FILES ${MORVANEL_HELP_FILES} DESTINATION ${MORVANEL_CONTROL_DIR} COMPONENT runtime)
install(TARGETS mvdb morvanel-register urssaf-scenario urssaf-monkey
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tools)
if(MORVANEL_WITH_QT)
  install(TARGETS morvanel-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT demo)
endif()
if(TARGET morvanel_designer)
  # Where Designer looks for plugins: Qt's own folder for a system install,
  # else plugins/designer in the prefix (QT_PLUGIN_PATH names it).
  if(CMAKE_INSTALL_PREFIX STREQUAL "/usr" AND QT6_INSTALL_PLUGINS)
    set(MORVANEL_DESIGNER_DIR ${QT6_INSTALL_PLUGINS}/designer)
  else()
    set(MORVANEL_DESIGNER_DIR ${CMAKE_INSTALL_LIBDIR}/qt6/plugins/designer)
  endif()
  install(TARGETS morvanel_designer
    LIBRARY DESTINATION ${MORVANEL_DESIGNER_DIR} PERMISSIONS ${lib_permissions}
      COMPONENT designer)
endif()

# The machine's registry names the installed control library: hosts of
# every user create the control without registering it first. Only for a
# system install (the packages): in a prefix each user registers.
if(NOT MORVANEL_RELOCATABLE)
  file(STRINGS ${PROJECT_SOURCE_DIR}/src/morvanel/hosting/entry_points.h clsid_line
    REGEX "kClsidCtrUrssaf = ")
  string(REGEX MATCH "{[0-9A-F-]+}" MORVANEL_CLSID "${clsid_line}")
  set(MORVANEL_REGISTRY_LINE
    "Morvanel.Ctr_Urssaf\t${MORVANEL_CLSID}\t${CMAKE_INSTALL_FULL_LIBDIR}/morvanel/libmorvanel.so")
  file(WRITE ${PROJECT_BINARY_DIR}/registry
    "# Morvanel controls of this machine: class name, class id, library\n"
    "${MORVANEL_REGISTRY_LINE}\n")
  install(FILES ${PROJECT_BINARY_DIR}/registry
    DESTINATION ${CMAKE_INSTALL_SYSCONFDIR}/morvanel COMPONENT runtime)
endif()

install(EXPORT MorvanelTargets NAMESPACE Morvanel:: DESTINATION ${MORVANEL_CMAKE_DIR}
  COMPONENT dev)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/MorvanelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/MorvanelConfig.cmake
  INSTALL_DESTINATION ${MORVANEL_CMAKE_DIR})
# One major version, one ABI: the SONAME carries the major number, and a
# host asking for X.Y takes any kit X.Z with Z >= Y.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/MorvanelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/MorvanelConfig.cmake
              ${PROJECT_BINARY_DIR}/MorvanelConfigVersion.cmake
  DESTINATION ${MORVANEL_CMAKE_DIR} COMPONENT dev)

include(MorvanelManPages)
include(MorvanelPackage)
