# Test registration shared by every test folder.
#
# import_add_gtest(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT <s>] [GUI])
# builds one GoogleTest executable and registers its cases with CTest. Every case runs with the offscreen Qt
# platform, a HOME and XDG config folder of its own inside the build tree (no test ever touches a user's settings)
# and a timeout, so that a hang fails the case instead of eating the run's time. GUI tests get a QApplication
# from the shared test main; the others a QCoreApplication.
find_package(GTest REQUIRED)
include(GoogleTest)

set(IMPORT_TEST_HOME ${CMAKE_BINARY_DIR}/test-home)
file(MAKE_DIRECTORY ${IMPORT_TEST_HOME}/.config)
find_program(IMPORT_ENV_PROGRAM env REQUIRED)
set(IMPORT_FIXTURES_DIR ${CMAKE_SOURCE_DIR}/../shared/fixtures CACHE PATH "Read-only table files written by other programs")

function(import_add_gtest name)
  cmake_parse_arguments(T "GUI;NO_MAIN" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} import_test_support GTest::gtest GTest::gmock)
  if(NOT T_NO_MAIN)
    if(T_GUI)
      target_link_libraries(${name} PRIVATE import_test_main_gui)
    else()
      target_link_libraries(${name} PRIVATE import_test_main)
    endif()
  endif()
  target_compile_definitions(${name} PRIVATE
    IMPORT_FIXTURES_DIR="${IMPORT_FIXTURES_DIR}"
    IMPORT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    IMPORT_PROGRAM_DIR="${IMPORT_PROGRAM_DIR}")
  # The environment goes through env as the test's launcher: gtest_discover_tests hands only the first entry of
  # a list-valued ENVIRONMENT property on to the tests (CMake 3.25), which left HOME pointing at the real one.
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    CROSSCOMPILING_EMULATOR "${IMPORT_ENV_PROGRAM};QT_QPA_PLATFORM=offscreen;HOME=${IMPORT_TEST_HOME};XDG_CONFIG_HOME=${IMPORT_TEST_HOME}/.config;IMPORT_FIXTURES_DIR=${IMPORT_FIXTURES_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    DISCOVERY_MODE PRE_TEST
    PROPERTIES
      TIMEOUT ${T_TIMEOUT})
endfunction()

# import_add_fuzzer(<name> SOURCES <files...> LIBS <targets...>)
# A libFuzzer target, built only with -DIMPORT_BUILD_FUZZ=ON (clang).
function(import_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT IMPORT_BUILD_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_compile_options(${name} PRIVATE ${IMPORT_FUZZ_FLAGS} -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endfunction()
