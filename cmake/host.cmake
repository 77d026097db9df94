# Host build: unit tests of the program against the fakes, and of the
# toolkit's core.
option(SETUP_FUZZ "Build the libFuzzer targets (clang) instead of the unit tests" OFF)
if(SETUP_FUZZ)
  add_subdirectory(tests/fuzz)
  # A bounded run of each target; a crash fails the test and leaves its input in the build tree.
  foreach(target text_fuzz inf_fuzz version_fuzz journal_fuzz expand_fuzz sha256_fuzz record_fuzz)
    add_test(NAME ${target} COMMAND ${target} -max_total_time=20 -print_final_stats=1
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  endforeach()
  return()
endif()

option(SETUP_SANITIZE "Build the tests with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(SETUP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp)
file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
file(GLOB CORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/core_*.cpp)
if(CORE_TEST_SOURCES)
  list(REMOVE_ITEM UNIT_TEST_SOURCES ${CORE_TEST_SOURCES})
endif()

add_executable(unit_tests ${UNIT_TEST_SOURCES} ${FAKE_SOURCES})
# The fake toolkit carries out some operations with the toolkit's own core.
target_link_libraries(unit_tests PRIVATE program_shared installer_program uninstaller_program
  stf_core GTest::gtest_main)
# The layering test reads the sources.
target_compile_definitions(unit_tests PRIVATE SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 30)

if(CORE_TEST_SOURCES)
  add_executable(core_tests ${CORE_TEST_SOURCES})
  # zlib makes the MSZIP cabinets the expander is tested on.
  find_package(ZLIB REQUIRED)
  target_link_libraries(core_tests PRIVATE stf_core ZLIB::ZLIB GTest::gtest_main)
  gtest_discover_tests(core_tests DISCOVERY_TIMEOUT 30)
endif()

# The scripts' own logic, against fake commands on PATH (tests/scripts/).
if(NOT SETUP_SANITIZE)
  add_test(NAME scripts.deps COMMAND bash ${CMAKE_SOURCE_DIR}/tests/scripts/deps.sh)
endif()
