# Fuzz build (clang with libFuzzer): one target per tests/fuzz/*Fuzz.cpp,
# each run by CTest over its seed corpus for a bounded number of inputs.
# The portable core is instrumented too, so coverage guides the fuzzer
# into the parsers.
set(PELNO_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
  -fno-sanitize-recover=undefined)
target_compile_options(pelno_core PRIVATE ${PELNO_FUZZ_FLAGS})
set(PELNO_FUZZ_RUNS 4000 CACHE STRING "Inputs each fuzz target tries under CTest")

file(GLOB PELNO_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*Fuzz.cpp)
foreach(source ${PELNO_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE pelno_core)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  string(REGEX REPLACE "Fuzz$" "" corpus ${name})
  # New inputs go to a scratch folder; the committed seeds stay as they are.
  set(scratch ${CMAKE_BINARY_DIR}/corpus/${corpus})
  add_test(NAME fuzz.${corpus}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
      $<TARGET_FILE:${name}> -runs=${PELNO_FUZZ_RUNS} -seed=1 -max_len=4096 -rss_limit_mb=1024
      ${scratch} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${corpus})
  set_tests_properties(fuzz.${corpus} PROPERTIES TIMEOUT 300)
  file(MAKE_DIRECTORY ${scratch})
endforeach()
