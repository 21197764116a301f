# Read by CPack once per generator: the RPM takes the components of a plain
# install, the Debian package its own list (CPACK_INSTALL_CMAKE_PROJECTS).
if(CPACK_GENERATOR STREQUAL "RPM")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_TOLVAREN_RPM_PROJECTS}")
endif()
