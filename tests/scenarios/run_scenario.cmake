# cmake -DSIM=... -DSCENARIO=NAME.scn -DEXPECTED=NAME.trace -DACTUAL=out -P run_scenario.cmake
# Without --dir, parlomat-sim works in a temporary directory of its own and removes it at the end.
execute_process(
  COMMAND ${SIM}
  INPUT_FILE ${SCENARIO}
  OUTPUT_FILE ${ACTUAL}
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "parlomat-sim exited with ${status}:\n${errors}")
endif()
if(NOT EXISTS ${EXPECTED})
  message(FATAL_ERROR "no expected trace ${EXPECTED}; the actual one is ${ACTUAL}")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${ACTUAL}
  RESULT_VARIABLE different)
if(different)
  # The diff goes straight to the test's output, unreformatted.
  find_program(DIFF diff)
  if(DIFF)
    execute_process(COMMAND ${DIFF} -u ${EXPECTED} ${ACTUAL})
  endif()
  message(FATAL_ERROR "trace differs from ${EXPECTED} (actual: ${ACTUAL})")
endif()
