# Every test of a GoogleTest program is a ctest test of its own, named <label>/<Suite>.<Name> and
# labelled <label>: `ctest -R` runs one, and a failure names it. ctest lists a program's tests by
# asking it under Wine (the cross emulator, scripts/with-wine) whenever the program is newer than
# its last list.
include(GoogleTest)

# quorrel_discover_tests(TARGET LABEL [DESKTOP] [TIMEOUT s] [ENVIRONMENT var=value...]
#                        [FIXTURES name...])
# Lists every test of the GoogleTest program TARGET to ctest. DESKTOP: its tests take turns on
# the one virtual display and the Explorer entries' keys of the one prefix (the test programs
# that show windows, read the screen back, count on the focus or write those keys): another
# one's window would cover a screenshot or take the focus, and two writers of the keys race.
function(quorrel_discover_tests target label)
  cmake_parse_arguments(PARSE_ARGV 2 arg "DESKTOP" "TIMEOUT" "ENVIRONMENT;FIXTURES")
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()
  # The first list of a fresh checkout waits for the Wine prefix to be made.
  gtest_discover_tests(${target} TEST_PREFIX "${label}/" DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 600
    TEST_LIST ${target}_TESTS)
  # The properties are set by a script of our own, after the list is read: gtest_discover_tests
  # splits values that are lists (the environment) into separate arguments.
  # A crash fails the test by what Wine prints: when the debugger ends the crashed process it may
  # do so with exit code 0, which ctest alone would count as a pass.
  set(properties "LABELS [==[${label}]==] TIMEOUT ${arg_TIMEOUT} FAIL_REGULAR_EXPRESSION [==[wine: Unhandled ]==]")
  if(arg_ENVIRONMENT)
    string(APPEND properties " ENVIRONMENT [==[${arg_ENVIRONMENT}]==]")
  endif()
  # Every test program runs with the desktop kept up (the fixture of tests/CMakeLists.txt).
  string(APPEND properties " FIXTURES_REQUIRED [==[desktop;${arg_FIXTURES}]==]")
  if(arg_DESKTOP)
    string(APPEND properties " RESOURCE_LOCK desktop")
  endif()
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_properties.cmake)
  file(CONFIGURE OUTPUT ${script} CONTENT [==[
if(@target@_TESTS)
  set_tests_properties(${@target@_TESTS} PROPERTIES @properties@)
endif()
]==] @ONLY)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

