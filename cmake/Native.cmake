# Native (Linux) build: unit tests of the pure logic, with sanitizers, and the fuzz targets.
option(SONIDEX_SANITIZE "Build the native tests with AddressSanitizer and UBSan" ON)
if(SONIDEX_SANITIZE)
  set(SAN -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_compile_options(sonidex_pure PRIVATE ${SAN})
  target_link_options(sonidex_pure PUBLIC ${SAN})
endif()
find_package(Threads REQUIRED)
option(SONIDEX_LIBFUZZER "Build only the fuzz targets, with libFuzzer (clang), to run on generated input" OFF)
if(NOT SONIDEX_LIBFUZZER)
  file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
  add_executable(unit_tests ${UNIT_SOURCES})
  target_compile_options(unit_tests PRIVATE ${SAN})
  target_link_libraries(unit_tests sonidex_pure gtest_local Threads::Threads)
  target_compile_definitions(unit_tests PRIVATE SONIDEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(unit_tests TEST_PREFIX "unit." DISCOVERY_MODE PRE_TEST)
endif()

# Fuzz targets (tests/fuzz/*_fuzz.cpp): each defines LLVMFuzzerTestOneInput. Built plainly they
# get a small driver that replays the corpus folder, so the sanitizers check every file in it
# (fuzz.NAME.corpus). Built with clang and -DSONIDEX_LIBFUZZER=ON (tools/build.sh makes
# build/fuzz so), libFuzzer drives them over generated input for SONIDEX_FUZZ_SECONDS, starting
# from the corpus (fuzz.NAME.generated); an input that crashes is left in fuzz-crashes/ and
# fails the test.
set(SONIDEX_FUZZ_SECONDS 60 CACHE STRING "How long each fuzz target runs on generated input")
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
if(SONIDEX_LIBFUZZER)
  # The code under test is instrumented for coverage too, or the fuzzer would search blind.
  target_compile_options(sonidex_pure PRIVATE -fsanitize=fuzzer-no-link)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-crashes)
endif()
foreach(src ${FUZZ_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  if(SONIDEX_LIBFUZZER)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    # New inputs go to a working corpus of the build; the checked-in one is only read.
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-work/${name})
    add_test(NAME fuzz.${name}.generated
      COMMAND ${name} -max_total_time=${SONIDEX_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=1024 -print_final_stats=1
              -artifact_prefix=${CMAKE_BINARY_DIR}/fuzz-crashes/${name}-
              ${CMAKE_BINARY_DIR}/fuzz-work/${name} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus)
    set_tests_properties(fuzz.${name}.generated PROPERTIES TIMEOUT 600)
  else()
    add_executable(${name} ${src} ${CMAKE_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
    add_test(NAME fuzz.${name}.corpus COMMAND ${name} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus)
  endif()
  target_compile_options(${name} PRIVATE ${SAN})
  target_link_libraries(${name} sonidex_pure)
endforeach()

# A Linux file manager's side of a file drop (XDND), for the end-to-end tests under Wine.
find_package(X11)
if(X11_FOUND)
  add_executable(xdnd_drop ${CMAKE_SOURCE_DIR}/tools/xdnd/xdnd_drop.c)
  target_link_libraries(xdnd_drop ${X11_LIBRARIES})
  target_include_directories(xdnd_drop PRIVATE ${X11_INCLUDE_DIR})
endif()
