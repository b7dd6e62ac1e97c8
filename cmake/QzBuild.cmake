# Shared build rules: one static library per source folder, one test
# executable per tested folder.

# ccache when it is there, unless the build was given a launcher of its own.
# It caches files built with a precompiled header only when told that the
# header's defines and time macros do not matter; clang's header must not
# record its inputs' times, or one taken from the cache into a new build
# tree would be refused as out of date.
find_program(QZ_CCACHE ccache)
if(QZ_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_C_COMPILER_LAUNCHER ${QZ_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER env CCACHE_SLOPPINESS=pch_defines,time_macros ${QZ_CCACHE})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    list(APPEND CMAKE_CXX_COMPILE_OPTIONS_CREATE_PCH -Xclang -fno-pch-timestamp)
  endif()
endif()

add_compile_options(-Wall -Wextra)

# lld links the large test and fuzz programs in a fraction of the time of
# the default linker, with either compiler.
find_program(QZ_LLD ld.lld)
if(QZ_LLD)
  add_link_options(-fuse-ld=lld)
endif()

# GCC 12 reports overlaps that cannot happen inside inlined std::string code
# when optimising (-Wrestrict false positives); later versions do not.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()

if(QZ_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing instruments every library for libFuzzer's coverage and checks it
# with the sanitizers; the fuzz programs add the libFuzzer runtime.
if(QZ_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QZ_FUZZ needs clang (scripts/fuzz configures it)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# qz_library(<target> [DEPS <targets>...] [PACKAGES <imported targets>...])
# Builds every .cpp under the calling folder into a static library named
# <target>. Headers are included by their path from the repository root
# ("platform/core/Handles.h").
function(qz_library target)
  cmake_parse_arguments(ARG "" "" "DEPS;PACKAGES" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} ${ARG_PACKAGES})
endfunction()

# qz_test_suite(<name> DEPS <targets>...)
# Builds every .cpp under the calling test folder into one GoogleTest
# executable "<name>_tests" and registers its cases with CTest.
function(qz_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # Each test process keeps its preferences in a folder of its own.
  add_executable(${name}_tests ${sources} ${PROJECT_SOURCE_DIR}/tests/PrivatePreferences.cpp)
  target_include_directories(${name}_tests PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name}_tests PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock)
  # Every test file includes the test framework: clang reads it from one
  # precompiled header a suite, a quarter off the suite's build (GCC's
  # header would take 130 MB a suite for 5 %).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_precompile_headers(${name}_tests PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
  endif()
  # GCC 12 sees impossible overflows in the vector code the tests inline when
  # optimising; the sanitizer build checks the real accesses.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${name}_tests PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
  endif()
  # The cases carry the label "unit": a full run of scripts/test may run
  # them program by program (scripts/order-check) instead.
  gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST PROPERTIES LABELS unit)
  # What the tests keep in the preferences folder stays in the build tree,
  # and no plug-in folder of the machine's data folders is ever read.
  # ctest reads this after the discovered cases: given through PROPERTIES
  # above, a list would keep only its first entry.
  set(environment "${CMAKE_CURRENT_BINARY_DIR}/${name}_tests_environment.cmake")
  file(WRITE "${environment}"
       "if(${name}_tests_TESTS)\n"
       "  set_tests_properties(\${${name}_tests_TESTS} PROPERTIES\n"
       "    ENVIRONMENT [==[QZ_TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR}]==]\n"
       "    ENVIRONMENT_MODIFICATION [==[QZ_PREFERENCES_DIR=set:${CMAKE_BINARY_DIR}/test-preferences;"
       "QZ_USER_DATA_DIR=set:${CMAKE_BINARY_DIR}/test-data;QZ_SYSTEM_DATA_DIR=set:${CMAKE_BINARY_DIR}/test-data]==])\n"
       "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${environment}")
endfunction()
