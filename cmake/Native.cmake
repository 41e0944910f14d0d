# Native build: the portable core and its tests, with the installed GoogleTest.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)
include(GoogleTest)

file(GLOB PELNO_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(pelno_native_tests ${PELNO_NATIVE_TESTS})
target_link_libraries(pelno_native_tests PRIVATE pelno_core GTest::gtest_main Threads::Threads)
target_compile_definitions(pelno_native_tests PRIVATE
  PELNO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(pelno_native_tests DISCOVERY_TIMEOUT 30
  PROPERTIES TIMEOUT 60)

# The device engine benchmark (tools/bench builds it without sanitizers).
add_executable(pelno_bench EXCLUDE_FROM_ALL tests/bench/DeviceEngineBench.cpp)
target_link_libraries(pelno_bench PRIVATE pelno_core Threads::Threads)

# The main dialog's start-up query benchmark (tools/bench-panel).
add_executable(pelno_panel_bench EXCLUDE_FROM_ALL tests/bench/MainPanelBench.cpp)
target_link_libraries(pelno_panel_bench PRIVATE pelno_core Sarnet Threads::Threads)

# The console diagnosis of many frames, in process (tools/bench-fleet).
add_executable(pelno_fleet_bench EXCLUDE_FROM_ALL tests/bench/FleetBench.cpp)
target_link_libraries(pelno_fleet_bench PRIVATE pelno_core Threads::Threads)

# The re-fit of many calibrated touchscreens, in process (tools/bench-refit).
add_executable(pelno_refit_bench EXCLUDE_FROM_ALL tests/bench/RefitBench.cpp)
target_link_libraries(pelno_refit_bench PRIVATE pelno_core Sarnet Threads::Threads)

# The configuration library over the process-wide registry seam.
add_library(Sarnet STATIC ${SARNET_SOURCES} libs/sarnet/SarnetRegistry.cpp)
target_link_libraries(Sarnet PUBLIC pelno_core)
target_link_libraries(pelno_native_tests PRIVATE Sarnet)

# Firmware files for the tests, and the make-firmware tool (tools/make-firmware).
target_sources(pelno_native_tests PRIVATE ${PELNO_FIRMWARE_MAKER_SOURCES})
target_include_directories(pelno_native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/firmware-maker)
add_executable(pelno_make_firmware tools/firmware-maker/main.cpp ${PELNO_FIRMWARE_MAKER_SOURCES})
target_link_libraries(pelno_make_firmware PRIVATE pelno_core)

# The layer check (tools/check-layers) on this tree and on planted trees.
add_test(NAME layers COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/CheckLayersTest.sh
  ${CMAKE_SOURCE_DIR}/tools/check-layers ${CMAKE_SOURCE_DIR})
