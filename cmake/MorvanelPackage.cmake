# The Debian packages (`cpack -G DEB` in a build configured by
# scripts/package.sh): one package per install component, each with the
# copyright file and the changelog in /usr/share/doc/<package>, the
# dependencies dpkg-shlibdeps finds plus the kit's own packages at the same
# version. See docs/hosting.md.
set(MORVANEL_DEB_RELEASE 1)
set(MORVANEL_DEB_VERSION ${PROJECT_VERSION}-${MORVANEL_DEB_RELEASE})
set(MORVANEL_SONAME_MAJOR ${PROJECT_VERSION_MAJOR})

# component | package | section | synopsis | description (no semicolon: a list)
set(MORVANEL_DEB_COMPONENTS
  "runtime|libmorvanel${MORVANEL_SONAME_MAJOR}|libs|URSSAF centres control: runtime libraries|\
The shared libraries of the Morvanel kit (database, forms, components,\nhosting and their Qt \
bindings), the URSSAF centres control library\nwith its help pages, and the machine's registry \
of controls, so that\nhosts of every user create the control by its class name."
  "dev|libmorvanel-dev|libdevel|URSSAF centres control: development files|\
Headers of the Morvanel kit and its CMake package:\nfind_package(Morvanel CONFIG) gives the \
imported targets a host links."
  "tools|morvanel-tools|misc|URSSAF centres control: command-line tools|\
mvdb, the database shell. morvanel-register, which registers a control\nlibrary for one user. \
urssaf-scenario, the scenario runner. urssaf-monkey,\nrandom clerk sessions checked after \
every action."
  "demo|morvanel-demo|misc|URSSAF centres control: demo host|\
morvanel-host, a Qt window that embeds the control on a demo database\nit creates on first run."
  "designer|morvanel-designer-plugin|devel|URSSAF centres control: Qt Designer plugin|\
Puts the control in Qt Designer's widget box, group Morvanel, so that\nforms place it: the \
form's code then gives it the database, the client\nand the rights.")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvanel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Morvanel")
set(CPACK_PACKAGE_CONTACT "Morvanel maintainers <maintainers@users.noreply.c-seed-ba6d90a9.example>")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${MORVANEL_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://morvanel.example/")
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime dev tools)
if(MORVANEL_WITH_QT)
  list(APPEND CPACK_COMPONENTS_ALL demo)
endif()
if(TARGET morvanel_designer)
  list(APPEND CPACK_COMPONENTS_ALL designer)
endif()
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_TOOLS_DEPENDS runtime)
set(CPACK_COMPONENT_DEMO_DEPENDS runtime)
set(CPACK_COMPONENT_DESIGNER_DEPENDS runtime)
# The CMake package asks for Qt's; dpkg-shlibdeps sees nothing in headers.
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "cmake, qt6-base-dev")
# dpkg-shlibdeps finds the kit's own libraries in the build tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "")
foreach(target IN LISTS MORVANEL_KIT_TARGETS)
  get_target_property(dir ${target} BINARY_DIR)
  list(APPEND CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${dir})
endforeach()
# The shlibs file tells the packages built against the kit what to depend
# on; the trigger runs ldconfig once the libraries are in place.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
  ${PROJECT_SOURCE_DIR}/packaging/conffiles ${PROJECT_SOURCE_DIR}/packaging/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)

find_program(MORVANEL_GZIP gzip)
set(changelog ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${MORVANEL_GZIP} -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(morvanel_changelog ALL DEPENDS ${changelog})

foreach(entry IN LISTS MORVANEL_DEB_COMPONENTS)
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 component)
  list(GET entry 1 package)
  list(GET entry 2 section)
  list(GET entry 3 synopsis)
  list(GET entry 4 description)
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package})
  set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION ${section})
  set(CPACK_COMPONENT_${upper}_DESCRIPTION "${synopsis}\n${description}")
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog}
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endforeach()

include(CPack)
