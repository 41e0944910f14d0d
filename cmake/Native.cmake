# Native build: the portable core and its tests, with the installed GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB PELNO_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(pelno_native_tests ${PELNO_NATIVE_TESTS})
target_link_libraries(pelno_native_tests PRIVATE pelno_core GTest::gtest_main Threads::Threads)
target_compile_definitions(pelno_native_tests PRIVATE
  PELNO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
find_package(Threads REQUIRED)
gtest_discover_tests(pelno_native_tests DISCOVERY_TIMEOUT 30
  PROPERTIES TIMEOUT 60)
