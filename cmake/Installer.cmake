# PelnoCplSetup.exe (installer/PelnoCpl.nsi) from the runnable tree, with
# makensis; part of the build, and what tools/package builds. Skipped without makensis or without the
# manuals it installs. PelnoCpl.msi beside it follows.
find_program(PELNO_MAKENSIS makensis)
if(NOT PELNO_MAKENSIS OR NOT TARGET pelno_manual)
  message(STATUS "makensis or the manual missing: the installer (tools/package) is not built")
  return()
endif()
set(PELNO_INSTALLER ${CMAKE_BINARY_DIR}/PelnoCplSetup.exe)
add_custom_command(OUTPUT ${PELNO_INSTALLER}
  COMMAND ${PELNO_MAKENSIS} -V2 -NOCD
    -DPELNO_BIN=${PELNO_BIN_DIR} -DPELNO_RES=${CMAKE_SOURCE_DIR}/res
    -DPELNO_VERSION=${PROJECT_VERSION} -DPELNO_VERSION_TEXT=${PELNO_VERSION_TEXT}
    -DPELNO_OUTFILE=${PELNO_INSTALLER} ${CMAKE_SOURCE_DIR}/installer/PelnoCpl.nsi
  DEPENDS ${CMAKE_SOURCE_DIR}/installer/PelnoCpl.nsi PelnoCpl Sarnet Grell pelno_manual ${PELNO_MANUAL_PDFS}
    ${PELNO_LANGUAGE_FILES} ${CMAKE_SOURCE_DIR}/res/null.cur
  COMMENT "Packing PelnoCplSetup.exe"
  VERBATIM)
add_custom_target(pelno_installer ALL DEPENDS ${PELNO_INSTALLER})

# The installer end to end under Wine, in a fresh prefix of its own: silent
# install, the installed program with two virtual touchscreens and its Help,
# silent uninstall (about 40 s, most of it copying and starting the prefix).
if(CMAKE_HOST_UNIX)
  add_test(NAME windows.Installer
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/installer-test.sh ${PELNO_INSTALLER})
  set_tests_properties(windows.Installer PROPERTIES TIMEOUT 240 ENVIRONMENT "LC_ALL=en_US.UTF-8")
endif()

# PelnoCpl.msi (installer/PelnoCpl.wxs, installer/make-msi.sh) with wixl and
# msibuild, from the same tree, with the custom actions' DLL in it.
find_program(PELNO_WIXL wixl)
find_program(PELNO_MSIBUILD msibuild)
if(NOT PELNO_WIXL OR NOT PELNO_MSIBUILD)
  message(STATUS "wixl or msibuild missing: PelnoCpl.msi (tools/package) is not built")
  return()
endif()
add_library(MsiActions SHARED installer/MsiActions_win32.cpp)
target_include_directories(MsiActions PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(MsiActions PRIVATE msi)
set_target_properties(MsiActions PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/installer)
set(PELNO_MSI ${CMAKE_BINARY_DIR}/PelnoCpl.msi)
add_custom_command(OUTPUT ${PELNO_MSI}
  COMMAND sh ${CMAKE_SOURCE_DIR}/installer/make-msi.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} ${PELNO_MSI}
  DEPENDS ${CMAKE_SOURCE_DIR}/installer/PelnoCpl.wxs ${CMAKE_SOURCE_DIR}/installer/make-msi.sh MsiActions
    PelnoCpl Sarnet Grell pelno_manual ${PELNO_MANUAL_PDFS} ${PELNO_LANGUAGE_FILES} ${CMAKE_SOURCE_DIR}/res/null.cur
  COMMENT "Packing PelnoCpl.msi"
  VERBATIM)
add_custom_target(pelno_msi ALL DEPENDS ${PELNO_MSI})

# The package end to end under Wine, in a fresh prefix of its own: msiexec
# /i and /x, the site settings, a refused file, an upgrade by a newer package.
if(CMAKE_HOST_UNIX)
  add_test(NAME windows.Msi COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/msi-test.sh ${PELNO_MSI})
  set_tests_properties(windows.Msi PROPERTIES TIMEOUT 300 ENVIRONMENT "LC_ALL=en_US.UTF-8")
endif()
