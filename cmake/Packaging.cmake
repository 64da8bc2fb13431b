# Debian packages, one per install component, made by `cpack -G DEB` in a
# Release build configured with the prefix /usr (scripts/package):
#
#   jobcontrol            (component jobcontrol)   the programs, the module in
#                         <libdir>/jobcontrol and its resources in share/jobcontrol
#   libjobcontrol-qtN     (component library)      libjobcontrol-qt.so.N, named
#                         after its SONAME so that a new SONAME is a new package
#   libjobcontrol-qt-dev  (component development)  the header, the .so link, the
#                         JobControlQt CMake package and the example's source
#
# Each package carries its copyright file and changelog.Debian.gz in
# share/doc/<package>.

set(JC_PACKAGE_MAINTAINER "The Job Control developers <jobcontrol@example.org>"
  CACHE STRING "Maintainer field of the Debian packages")
set(JC_DEBIAN_RELEASE 1)
set(JC_DEBIAN_VERSION ${PROJECT_VERSION}-${JC_DEBIAN_RELEASE})

set(JC_PACKAGE_jobcontrol jobcontrol)
set(JC_PACKAGE_library libjobcontrol-qt${PROJECT_VERSION_MAJOR})
set(JC_PACKAGE_development libjobcontrol-qt-dev)
set(JC_PACKAGED_COMPONENTS jobcontrol)
if(JC_BUILD_QT)
  list(APPEND JC_PACKAGED_COMPONENTS library development)
endif()

# The example application's source, as the development package's documentation.
if(JC_BUILD_QT)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/print_page
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${JC_PACKAGE_development}/examples
    COMPONENT development)
endif()

# The Debian changelog, compressed as Debian wants it: best compression, no
# name or time stamp in the header.
set(JC_DEBIAN_DOC_DIR ${PROJECT_BINARY_DIR}/debian)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in
  ${JC_DEBIAN_DOC_DIR}/changelog.Debian @ONLY)
find_program(GZIP gzip REQUIRED)
execute_process(COMMAND ${GZIP} -9 -n -k -f ${JC_DEBIAN_DOC_DIR}/changelog.Debian
  COMMAND_ERROR_IS_FATAL ANY)
foreach(component IN LISTS JC_PACKAGED_COMPONENTS)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright
    ${JC_DEBIAN_DOC_DIR}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${JC_PACKAGE_${component}}
    COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jobcontrol)
set(CPACK_PACKAGE_VENDOR "The Job Control developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL ${JC_PACKAGED_COMPONENTS})

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${JC_DEBIAN_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${JC_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_JOBCONTROL_PACKAGE_NAME ${JC_PACKAGE_jobcontrol})
set(CPACK_DEBIAN_JOBCONTROL_PACKAGE_SECTION utils)
# Qt's own texts of the dialog (Print, Copies, Properties...) in the user's
# language come from Qt's catalogues; without them they stay English.
if(JC_BUILD_QT)
  set(CPACK_DEBIAN_JOBCONTROL_PACKAGE_RECOMMENDS qt6-translations-l10n)
  # The agent's autostart entry lives in /etc: the administrator's to change.
  set(CPACK_DEBIAN_JOBCONTROL_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/conffiles)
endif()
set(CPACK_DEBIAN_JOBCONTROL_DESCRIPTION
  "print dialog panel for held and filed jobs on CUPS printers
Job Control is a print dialog panel for one family of multifunction printers.
It keeps a job on the printer, held with a numeric pass code or filed into a
folder of the printer's storage, identifies the user by login name and
password or by user number, and attaches an account number, a user name and a
job name. Values can be locked from job to job and are remembered per printer;
the printer's filing folders are fetched over HTTP/SOAP.

This package contains the panel's plug-in module and resources, the command
line host jobcontrol, which plays the print dialog without a display, and
jobcontrol-dialog, Qt's print dialog with the Job Control tab, and
jobcontrol-agent, which shows the panel for the jobs that a queue holds for
it, so that a job printed from any application gets its entries.")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME ${JC_PACKAGE_library})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_DEPENDS "jobcontrol (= ${JC_DEBIAN_VERSION})")
# dpkg refreshes the linker cache through the ldconfig trigger. CPack writes a
# postinst and postrm that call ldconfig as well for any library in /usr/lib.
set(CPACK_DEBIAN_LIBRARY_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/triggers)
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION
  "Job Control tab for the print dialogs of Qt applications
Job Control is a print dialog panel for held and filed jobs, user
authentication and job accounting on one family of multifunction printers.

This package contains the shared library that adds the Job Control tab to a
Qt application's print dialog; it loads the panel installed by jobcontrol.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${JC_PACKAGE_development})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
  "${JC_PACKAGE_library} (= ${JC_DEBIAN_VERSION}), jobcontrol (= ${JC_DEBIAN_VERSION}), qt6-base-dev")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
  "Job Control tab for Qt print dialogs - development files
Job Control is a print dialog panel for held and filed jobs, user
authentication and job accounting on one family of multifunction printers.

This package contains the header and the CMake package JobControlQt
(find_package(JobControlQt), target JobControl::jobcontrol-qt) to build Qt
applications whose print dialog has the Job Control tab, and the source of an
example application.")

include(CPack)
