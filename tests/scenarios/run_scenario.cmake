# cmake -DSIM=... -DSCENARIO=NAME.scn -DEXPECTED=NAME.trace -DACTUAL=out -P run_scenario.cmake
execute_process(COMMAND ${SIM} INPUT_FILE ${SCENARIO} OUTPUT_FILE ${ACTUAL}
  ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "parlomat-sim exited with ${status}:\n${errors}")
endif()
if(NOT EXISTS ${EXPECTED})
  message(FATAL_ERROR "no expected trace ${EXPECTED}; the actual one is ${ACTUAL}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${ACTUAL}
  RESULT_VARIABLE different)
if(different)
  find_program(DIFF diff)
  if(DIFF)
    execute_process(COMMAND ${DIFF} -u ${EXPECTED} ${ACTUAL})
  endif()
  message(FATAL_ERROR "trace differs from ${EXPECTED} (actual: ${ACTUAL})")
endif()
