# Install layout and packages.
#
# cmake --install puts the binary, the man page, the README, the licence and
# the report's JSON Schema under the prefix. Two more install components, left out of a plain install, hold what
# only a package needs:
#   deb          the man page gzipped, copyright and changelog (Debian policy)
#   windows_zip  the .exe in x64/ or x86/, the README and LICENSE with CR LF line ends
# scripts/package.sh runs CPack on the native build (tolvaren_VERSION_amd64.deb,
# tolvaren-VERSION-1.x86_64.rpm) and on the 64-bit Windows build, which takes
# the 32-bit build beside it (tolvaren-VERSION-windows.zip), and builds the
# 64-bit build's msi target (tolvaren-VERSION-x64.msi).
include(GNUInstallDirs)

# CPack installs what scripts/package.sh built, without building the tests first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS tolvaren RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/doc/tolvaren.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT docs)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/doc/tolvaren-report.schema.json
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT docs)

set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)

set(CPACK_PACKAGE_NAME tolvaren)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${TOLVAREN_VENDOR}")
set(CPACK_PACKAGE_CONTACT "${TOLVAREN_VENDOR} <developers@tolvaren.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "name computers after their SMBIOS identification")
set(CPACK_THREADS 1)

if(NOT WIN32)
  # Debian wants manual pages and changelogs gzipped at the highest level,
  # without a time stamp, so the package is the same from one build to the next.
  # The licence terms of LICENSE (the paragraphs after its copyright line), in
  # the copyright file's layout: each line indented, empty lines as ".".
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
  string(REGEX REPLACE "^.*Copyright[^\n]*\n\n" "" license_terms "${license_text}")
  string(STRIP "${license_terms}" license_terms)
  string(REPLACE "\n\n" "\n.\n" license_terms "${license_terms}")
  string(REPLACE "\n" "\n " TOLVAREN_LICENSE_TERMS " ${license_terms}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${packaging_dir}/copyright @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${packaging_dir}/changelog @ONLY)
  set(deb_dir ${packaging_dir}/deb)
  add_custom_command(
    OUTPUT ${deb_dir}/tolvaren.1.gz ${deb_dir}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${deb_dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/doc/tolvaren.1 ${packaging_dir}/changelog ${deb_dir}
    COMMAND gzip -9 -n -f ${deb_dir}/tolvaren.1 ${deb_dir}/changelog
    DEPENDS ${PROJECT_SOURCE_DIR}/doc/tolvaren.1 ${packaging_dir}/changelog
    VERBATIM)
  add_custom_target(debian_files ALL DEPENDS ${deb_dir}/tolvaren.1.gz ${deb_dir}/changelog.gz)
  install(FILES ${deb_dir}/tolvaren.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT deb EXCLUDE_FROM_ALL)
  # A static binary is what the tool is meant to be: one file that runs on
  # any distribution and starts without the dynamic loader's work.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME tolvaren COMPONENT deb EXCLUDE_FROM_ALL)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${packaging_dir}/copyright ${deb_dir}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT deb EXCLUDE_FROM_ALL)

  # The static binary needs no other package at run time, so there is no Depends.
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${PROJECT_BINARY_DIR};tolvaren;runtime;/"
      "${PROJECT_BINARY_DIR};tolvaren;deb;/")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION admin)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  # CPack puts the summary above this as the synopsis line.
  set(package_description "Tolvaren reads the machine's SMBIOS identification (makers, models and
serial numbers of system, main board and chassis; the system UUID) and its
network identity (first IPv4 and hardware address, reverse DNS name), and
then prints a summary of them, shows what a name template such as acme-?s
expands to, or gives the computer a new name, written to /etc/hostname for
the next boot.

It is meant for administrators and deployment scripts that name many
machines by one rule. One static binary; the same tool exists for Windows.")
  # Debian marks an empty line of the description with a full stop.
  string(REPLACE "\n\n" "\n.\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${package_description}")

  # The RPM (tolvaren-VERSION-1.x86_64.rpm) holds what a plain install does:
  # the binary, the man page and the docs, README and LICENSE among them.
  # packaging/cpack-project.cmake gives CPack that list of components when it
  # makes the RPM.
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/cpack-project.cmake)
  set(CPACK_TOLVAREN_RPM_PROJECTS
      "${PROJECT_BINARY_DIR};tolvaren;runtime;/"
      "${PROJECT_BINARY_DIR};tolvaren;docs;/")
  set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
  set(CPACK_RPM_PACKAGE_LICENSE MIT)
  set(CPACK_RPM_PACKAGE_GROUP "Applications/System")
  set(CPACK_RPM_PACKAGE_DESCRIPTION "${package_description}")
  # Static: no library to require, none to provide.
  set(CPACK_RPM_PACKAGE_AUTOREQPROV OFF)
  # Folders the base system owns, not this package.
  set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
      /usr/share/man /usr/share/man/man1)
  # Only the files above: no /usr/lib/.build-id links to the binary.
  set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none")
  set(CPACK_RPM_USER_FILELIST
      "%doc /usr/share/doc/tolvaren/README.md"
      "%doc /usr/share/doc/tolvaren/tolvaren-report.schema.json"
      "%license /usr/share/doc/tolvaren/LICENSE")
else()
  # Both Windows builds install into one zip: this 64-bit build and the
  # 32-bit build beside it, each into its own folder.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(windows_folder x64)
  else()
    set(windows_folder x86)
  endif()
  install(TARGETS tolvaren RUNTIME DESTINATION ${windows_folder} COMPONENT windows_zip EXCLUDE_FROM_ALL)

  # Notepad before Windows 10 shows a file with bare LF line ends as one line.
  foreach(text README.md LICENSE)
    get_filename_component(stem ${text} NAME_WE)
    file(READ ${PROJECT_SOURCE_DIR}/${text} content)
    string(REPLACE "\r\n" "\n" content "${content}")
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE ${packaging_dir}/${stem}.txt "${content}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${text})
    install(FILES ${packaging_dir}/${stem}.txt DESTINATION . COMPONENT windows_zip EXCLUDE_FROM_ALL)
  endforeach()

  set(TOLVAREN_WINDOWS_I686_BUILD_DIR ${PROJECT_BINARY_DIR}/../windows-i686
      CACHE PATH "Build tree of the 32-bit Windows binary that goes into the zip")
  get_filename_component(i686_dir ${TOLVAREN_WINDOWS_I686_BUILD_DIR} ABSOLUTE)
  set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};tolvaren;windows_zip;/")
  if(NOT i686_dir STREQUAL PROJECT_BINARY_DIR)
    list(APPEND CPACK_INSTALL_CMAKE_PROJECTS "${i686_dir};tolvaren;windows_zip;/")
  endif()
  set(CPACK_PACKAGE_FILE_NAME tolvaren-${PROJECT_VERSION}-windows)

  # The Windows Installer package of the 64-bit build, with wixl and msibuild
  # (target msi): tolvaren-VERSION-x64.msi. make-msi.cmake in the build tree
  # holds the product's details and the files' places.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/make-msi.cmake.in ${packaging_dir}/make-msi.cmake.in @ONLY)
    file(GENERATE OUTPUT ${packaging_dir}/make-msi.cmake INPUT ${packaging_dir}/make-msi.cmake.in)
    set(msi ${packaging_dir}/tolvaren-${PROJECT_VERSION}-x64.msi)
    add_custom_command(
      OUTPUT ${msi}
      COMMAND ${CMAKE_COMMAND} -DOUTPUT=${msi} -P ${packaging_dir}/make-msi.cmake
      DEPENDS tolvaren ${PROJECT_SOURCE_DIR}/packaging/tolvaren.wxs.in ${packaging_dir}/make-msi.cmake
              ${packaging_dir}/README.txt ${packaging_dir}/LICENSE.txt
      VERBATIM)
    add_custom_target(msi DEPENDS ${msi})
  endif()
endif()

include(CPack)
