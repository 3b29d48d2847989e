# Included by CTest (through a directory's TEST_INCLUDE_FILES) for one
# GoogleTest executable: lists its cases and adds each as a test of its own,
# named KORVANE_TEST_PREFIX and the case's full name, run through
# KORVANE_TEST_RUNNER (empty, or an emulator's command line).
#
# The listing is kept beside the executable until the executable changes. An
# executable that is missing or cannot list its cases gives one failing test
# that says why, and the other executables' tests are still added and run:
# one architecture that cannot run never hides the other's tests.
#
# Set before the include: KORVANE_TEST_EXE, KORVANE_TEST_RUNNER,
# KORVANE_TEST_PREFIX, KORVANE_TEST_DIR (working directory), KORVANE_TEST_LIST
# (the kept listing), KORVANE_TEST_TIMEOUT, KORVANE_TEST_HINT (what to do when
# the cases cannot be listed).

# A test that fails with the message, in place of an executable's cases.
function(korvane_failing_test name text)
  add_test("${name}" /bin/sh -c "echo \"$1\" >&2; exit 1" sh "${text}")
endfunction()

if(NOT EXISTS "${KORVANE_TEST_EXE}")
  korvane_failing_test("${KORVANE_TEST_PREFIX}not-built"
    "${KORVANE_TEST_EXE} was not built; build the project before running its tests.")
  return()
endif()

if(NOT EXISTS "${KORVANE_TEST_LIST}" OR NOT "${KORVANE_TEST_LIST}" IS_NEWER_THAN "${KORVANE_TEST_EXE}")
  execute_process(
    COMMAND ${KORVANE_TEST_RUNNER} "${KORVANE_TEST_EXE}" --gtest_list_tests
    WORKING_DIRECTORY "${KORVANE_TEST_DIR}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE listing
    ERROR_VARIABLE errors
    TIMEOUT 120)
  if(NOT status STREQUAL "0")
    string(REPLACE ";" " " command "${KORVANE_TEST_RUNNER};${KORVANE_TEST_EXE}")
    string(STRIP "${status} ${errors}" why)
    korvane_failing_test("${KORVANE_TEST_PREFIX}discovery"
      "Could not list the test cases of ${command}: ${why}. ${KORVANE_TEST_HINT}")
    file(REMOVE "${KORVANE_TEST_LIST}")
    return()
  endif()
  file(WRITE "${KORVANE_TEST_LIST}" "${listing}")
else()
  file(READ "${KORVANE_TEST_LIST}" listing)
endif()

# The listing names a suite on a line of its own ("Suite." or
# "Prefix/Suite.", perhaps with a comment) and its cases below it, indented
# ("  Case" or "  Case/0  # GetParam() = ..."). Comments may hold anything,
# so they are cut off before the text is split into lines.
string(REGEX REPLACE "  #[^\n]*" "" listing "${listing}")
string(REPLACE ";" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(suite "")
foreach(line IN LISTS lines)
  if(line MATCHES "^  ([^ ]+)$")
    set(case "${suite}${CMAKE_MATCH_1}")
    set(name "${KORVANE_TEST_PREFIX}${case}")
    add_test("${name}" ${KORVANE_TEST_RUNNER} "${KORVANE_TEST_EXE}" "--gtest_filter=${case}" --gtest_brief=1)
    set_tests_properties("${name}" PROPERTIES
      WORKING_DIRECTORY "${KORVANE_TEST_DIR}"
      TIMEOUT "${KORVANE_TEST_TIMEOUT}"
      SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
    if(case MATCHES "(^|[./])DISABLED_")
      set_tests_properties("${name}" PROPERTIES DISABLED TRUE)
    endif()
  elseif(line MATCHES "^([^ ]+\\.)$")
    set(suite "${CMAKE_MATCH_1}")
  endif()
endforeach()
