# Windows build: the program, its runnable tree, and the tests run under Wine.

# A static runtime, so that no MinGW DLL has to lie beside the executable.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# The version the resources show, from project() (cmake/Version.cmake).
include(cmake/Version.cmake)

add_library(pelno_win32 STATIC ${PELNO_WIN32_SOURCES})
target_link_libraries(pelno_win32 PUBLIC pelno_core setupapi hid comctl32 shell32 user32 gdi32)
# The Diagnostics dialog's Save As dialog.
target_link_libraries(pelno_win32 PUBLIC comdlg32)
# The console update raises the timer resolution for its 20 ms frame pauses.
target_link_libraries(pelno_win32 PUBLIC winmm)

# Sarnet.dll beside the executable, with its own Win32 registry; the
# import library is what the program and the tests link against.
add_library(Sarnet SHARED ${SARNET_SOURCES} libs/sarnet/SarnetRegistry_win32.cpp platform/Registry_win32.cpp)
target_include_directories(Sarnet PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(Sarnet PRIVATE SARNET_BUILDING_DLL)
set_target_properties(Sarnet PROPERTIES PREFIX "" IMPORT_PREFIX "lib")

# Grell.dll beside the executable: the mouse-hook library.
add_library(Grell SHARED libs/grell/Grell_win32.cpp)
target_include_directories(Grell PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(Grell PRIVATE GRELL_BUILDING_DLL)
target_link_libraries(Grell PRIVATE user32)
set_target_properties(Grell PROPERTIES PREFIX "" IMPORT_PREFIX "lib")

add_executable(PelnoCpl WIN32 app/PelnoCplApp_win32.cpp)
target_link_libraries(PelnoCpl PRIVATE pelno_win32 Sarnet Grell)
target_link_options(PelnoCpl PRIVATE -municode)

# The resources (dialogs, images, version, manifest), compiled by windres.
# The main dialog calls Grell.dll; Grell.dll lies beside the executable.
enable_language(RC)
set(PELNO_RESOURCES ${CMAKE_SOURCE_DIR}/res/PelnoCpl.rc)
file(GLOB PELNO_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/images/*.bmp ${CMAKE_SOURCE_DIR}/res/*.ico
  ${CMAKE_SOURCE_DIR}/res/*.manifest ${CMAKE_SOURCE_DIR}/res/resource.h)
set_source_files_properties(${PELNO_RESOURCES} PROPERTIES OBJECT_DEPENDS "${PELNO_RESOURCE_FILES}")
target_sources(PelnoCpl PRIVATE ${PELNO_RESOURCES})
target_include_directories(PelnoCpl PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/res>)
target_link_libraries(pelno_win32 PUBLIC Grell)
# The main dialog's behaviour reads the touchscreens' parameters through Sarnet.dll.
target_link_libraries(pelno_core PUBLIC Sarnet)

# What the Windows tests and the benchmarks share (tests/support): the main
# dialog's rig, the message pump, the runnable tree, the program's runs and a
# stopwatch.
file(GLOB PELNO_TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(pelno_test_support STATIC EXCLUDE_FROM_ALL ${PELNO_TEST_SUPPORT_SOURCES})
target_include_directories(pelno_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)
target_link_libraries(pelno_test_support PUBLIC pelno_win32 Sarnet)

# A benchmark under Wine (run by a tools/bench-* script), built on demand into
# build/windows/bench with the program's resources, the runnable tree made
# first and the DLLs beside it. Sources after the first are added to it.
function(pelno_add_windows_bench target source)
  add_executable(${target} EXCLUDE_FROM_ALL ${source} ${PELNO_RESOURCES} ${ARGN})
  target_link_libraries(${target} PRIVATE pelno_test_support)
  target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/res>)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(${target} PelnoCpl)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Sarnet> $<TARGET_FILE:Grell> ${CMAKE_BINARY_DIR}/bench/)
endfunction()

# The main dialog (tools/bench-panel), the Settings dialog (tools/bench-settings),
# the mapping (tools/bench-mapping), the calibration window
# (tools/bench-calibration), the Diagnostics dialog (tools/bench-diagnostics),
# and the information dialogs and the update dialog (tools/bench-info-dialogs).
pelno_add_windows_bench(pelno_dialog_bench tests/bench/MainDialogBench_win32.cpp)
pelno_add_windows_bench(pelno_settings_bench tests/bench/SettingsDialogBench_win32.cpp)
pelno_add_windows_bench(pelno_mapping_bench tests/bench/MappingBench_win32.cpp)
pelno_add_windows_bench(pelno_calibration_bench tests/bench/CalibrationBench_win32.cpp)
pelno_add_windows_bench(pelno_diagnosis_bench tests/bench/DiagnosisBench_win32.cpp)
pelno_add_windows_bench(pelno_info_bench tests/bench/InfoDialogsBench_win32.cpp ${PELNO_FIRMWARE_MAKER_SOURCES})
target_include_directories(pelno_info_bench PRIVATE ${CMAKE_SOURCE_DIR}/tools/firmware-maker)
# The re-fit of many calibrated touchscreens over Wine's registry (tools/bench-refit).
pelno_add_windows_bench(pelno_refit_bench tests/bench/RefitBench.cpp)

# The invisible cursor of "Hide Cursor" (tools/make-cursor) beside the executable.
add_custom_command(TARGET PelnoCpl POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/res/null.cur ${PELNO_BIN_DIR}/null.cur)

# The stand-in libXinerama.so.1 (tests/xinerama) that gives Wine two monitors
# on one wide Xvfb screen, for the two-monitor tests and `tools/run --monitors
# 2`: a Linux library, built with the host's C compiler, never shipped.
if(CMAKE_HOST_UNIX)
  find_program(PELNO_HOST_CC NAMES cc gcc clang NO_CMAKE_FIND_ROOT_PATH)
  set(PELNO_XINERAMA_DIR ${CMAKE_BINARY_DIR}/xinerama)
  add_custom_command(OUTPUT ${PELNO_XINERAMA_DIR}/libXinerama.so.1
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PELNO_XINERAMA_DIR}
    COMMAND ${PELNO_HOST_CC} -shared -fPIC -O2 -Wl,-soname,libXinerama.so.1
      -o ${PELNO_XINERAMA_DIR}/libXinerama.so.1 ${CMAKE_SOURCE_DIR}/tests/xinerama/TwoHeadsXinerama.c
    DEPENDS ${CMAKE_SOURCE_DIR}/tests/xinerama/TwoHeadsXinerama.c)
  add_custom_target(pelno_xinerama ALL DEPENDS ${PELNO_XINERAMA_DIR}/libXinerama.so.1)
endif()

# The language files beside the executable.
file(GLOB PELNO_LANGUAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/Language/*.ini)
foreach(lang ${PELNO_LANGUAGE_FILES})
  get_filename_component(name ${lang} NAME)
  add_custom_command(TARGET PelnoCpl POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PELNO_BIN_DIR}/Language
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${lang} ${PELNO_BIN_DIR}/Language/${name})
endforeach()

# The user manual beside the executable (cmake/Manual.cmake), and the
# installer, built on demand by tools/package (cmake/Installer.cmake).
include(cmake/Manual.cmake)
include(cmake/Installer.cmake)

# GoogleTest from Debian's sources, built with mingw. Without them (a build on
# Windows that names no GoogleTest tree) only the program is built.
set(PELNO_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree for the Windows tests")
if(NOT EXISTS ${PELNO_GTEST_SOURCE_DIR}/CMakeLists.txt)
  message(STATUS "No GoogleTest sources at ${PELNO_GTEST_SOURCE_DIR}: Windows tests not built")
  return()
endif()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${PELNO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB PELNO_WINDOWS_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp)
add_executable(pelno_windows_tests ${PELNO_WINDOWS_TESTS})
target_link_libraries(pelno_windows_tests PRIVATE pelno_test_support gtest_main)
# The dialogs under test load their templates and images from the test executable.
target_sources(pelno_windows_tests PRIVATE ${PELNO_RESOURCES})
target_include_directories(pelno_windows_tests PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/res>)
add_custom_command(TARGET pelno_windows_tests POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Grell> ${CMAKE_BINARY_DIR}/tests/)
# The tests load Sarnet.dll from their own folder.
add_custom_command(TARGET pelno_windows_tests POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Sarnet> ${CMAKE_BINARY_DIR}/tests/)

# The picture static's tests paint a bitmap 177 of their own, from a
# resource-only module beside the test executable (the executable itself
# holds the program's bitmap 177 for the dialogs under test).
add_library(PelnoTestImages SHARED tests/windows/TestResources.rc)
set_target_properties(PelnoTestImages PROPERTIES PREFIX "" LINKER_LANGUAGE C)
add_dependencies(pelno_windows_tests PelnoTestImages)
add_custom_command(TARGET pelno_windows_tests POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:PelnoTestImages> ${CMAKE_BINARY_DIR}/tests/)

set_target_properties(pelno_windows_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_dependencies(pelno_windows_tests PelnoCpl)

# One CTest entry per test suite: each Wine start costs a few hundred ms, so
# suites are run whole rather than test by test.
set(PELNO_WINDOWS_SUITES Win32Profile Win32Registry Win32Hid SimMouseFinger ConsoleFace Startup SarnetDll ParameterConsole)
# Whole files written all or nothing, and the ANSI code page.
list(APPEND PELNO_WINDOWS_SUITES Win32Files)
# The owner-drawn controls and the mouse-hook library.
list(APPEND PELNO_WINDOWS_SUITES XPButton HyperLink ImageStatic GrellDll)
# Firmware update: the console update end to end, and its progress on a real console.
list(APPEND PELNO_WINDOWS_SUITES FirmwareConsole FirmwareConsoleScreen)
target_sources(pelno_windows_tests PRIVATE ${PELNO_FIRMWARE_MAKER_SOURCES})
target_include_directories(pelno_windows_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/firmware-maker)
# The window framework and the main dialog, in-process.
list(APPEND PELNO_WINDOWS_SUITES Dialog MainDialog)
# The Settings dialog, in-process, and the mouse settings it applies.
list(APPEND PELNO_WINDOWS_SUITES SettingsDialog InvisibleCursor)
# The Diagnostics dialog in the real program.
list(APPEND PELNO_WINDOWS_SUITES Diagnosis)
# TouchScreen Properties, About and the firmware update dialog, from the main dialog.
list(APPEND PELNO_WINDOWS_SUITES PropertiesDialog AboutDialog UpdateDialog)
# Calibration: the calibration window, region selection and its hint, in-process.
list(APPEND PELNO_WINDOWS_SUITES CalibrateDialog)
# The console's listing and diagnosis of every touchscreen, in the real program.
list(APPEND PELNO_WINDOWS_SUITES FleetConsole)
foreach(suite ${PELNO_WINDOWS_SUITES})
  add_test(NAME windows.${suite}
    COMMAND pelno_windows_tests --gtest_filter=${suite}.*)
  set_tests_properties(windows.${suite} PROPERTIES TIMEOUT 120 ENVIRONMENT "LC_ALL=en_US.UTF-8")
endforeach()
# The export on a full disk: a 64 KiB tmpfs mounted for the run (skipped
# where it cannot be mounted).
add_test(NAME windows.FullDisk
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/with-small-disk.sh ${CMAKE_BINARY_DIR}/small-disk
    $<TARGET_FILE:pelno_windows_tests> --gtest_filter=FullDisk.*)
set_tests_properties(windows.FullDisk PROPERTIES TIMEOUT 120 ENVIRONMENT "LC_ALL=en_US.UTF-8")
# The mapping over two monitors: the real program on a wide Xvfb screen that
# the stand-in Xinerama splits in two, in a Wine prefix of its own.
if(CMAKE_HOST_UNIX)
  add_test(NAME windows.TwoMonitors
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/with-two-monitors.sh ${PELNO_XINERAMA_DIR}
      $<TARGET_FILE:pelno_windows_tests> --gtest_filter=TwoMonitors.*)
  set_tests_properties(windows.TwoMonitors PROPERTIES TIMEOUT 180 ENVIRONMENT "LC_ALL=en_US.UTF-8")
  # The same rig with one head: a touchscreen mapped to the monitor that is gone.
  add_test(NAME windows.OneMonitorLeft
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/with-two-monitors.sh ${PELNO_XINERAMA_DIR}
      $<TARGET_FILE:pelno_windows_tests> --gtest_filter=OneMonitorLeft.*)
  set_tests_properties(windows.OneMonitorLeft PROPERTIES TIMEOUT 180
    ENVIRONMENT "LC_ALL=en_US.UTF-8;PELNO_SCREEN=1280x1024x24;PELNO_HEADS=1280x1024+0+0")
  # And with one 1920 x 1080 head: a record calibrated on 1280 x 1024 re-fitted at start.
  add_test(NAME windows.ResolutionChanged
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/with-two-monitors.sh ${PELNO_XINERAMA_DIR}
      $<TARGET_FILE:pelno_windows_tests> --gtest_filter=ResolutionChanged.*)
  set_tests_properties(windows.ResolutionChanged PROPERTIES TIMEOUT 180
    ENVIRONMENT "LC_ALL=en_US.UTF-8;PELNO_SCREEN=1920x1080x24;PELNO_HEADS=1920x1080+0+0")
endif()
# The main list at 100 % in the tests' prefix; at 150 % and 200 % (each in
# a prefix of that DPI; Wine has one DPI for all monitors) its icons are drawn
# for the DPI and every label is whole, and at 150 % the program still starts
# and calibrates a monitor and a region.
add_test(NAME windows.MainDialogScaled COMMAND pelno_windows_tests --gtest_filter=MainDialogScaled.*)
set_tests_properties(windows.MainDialogScaled PROPERTIES TIMEOUT 120 ENVIRONMENT "LC_ALL=en_US.UTF-8")
if(CMAKE_HOST_UNIX)
  add_test(NAME windows.Dpi144
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/with-dpi.sh 144
      $<TARGET_FILE:pelno_windows_tests> --gtest_filter=MainDialogScaled.*:Startup.*:CalibrateDialog.*)
  set_tests_properties(windows.Dpi144 PROPERTIES TIMEOUT 240 ENVIRONMENT "LC_ALL=en_US.UTF-8")
  add_test(NAME windows.Dpi192
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/with-dpi.sh 192
      $<TARGET_FILE:pelno_windows_tests> --gtest_filter=MainDialogScaled.*)
  set_tests_properties(windows.Dpi192 PROPERTIES TIMEOUT 180 ENVIRONMENT "LC_ALL=en_US.UTF-8")
  # A calibration re-fitted by -r after the screen changed: two runs on two
  # Xvfb screens, in a Wine prefix of their own.
  add_test(NAME windows.ScreenChange
    COMMAND sh ${CMAKE_SOURCE_DIR}/tests/windows/with-screen-change.sh
      $<TARGET_FILE:pelno_windows_tests> --gtest_filter=ScreenChange.*)
  set_tests_properties(windows.ScreenChange PROPERTIES TIMEOUT 180 ENVIRONMENT "LC_ALL=en_US.UTF-8")
endif()
foreach(locale zh_CN:2052 ja_JP:1041 en_US:1033)
  string(REPLACE ":" ";" parts ${locale})
  list(GET parts 0 loc)
  list(GET parts 1 id)
  add_test(NAME windows.Language.${loc}
    COMMAND pelno_windows_tests --gtest_filter=LanguageChoice.*)
  set_tests_properties(windows.Language.${loc} PROPERTIES TIMEOUT 120
    ENVIRONMENT "LC_ALL=${loc}.UTF-8;PELNO_EXPECTED_LANGID=${id}")
endforeach()
