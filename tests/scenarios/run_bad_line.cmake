# A line the runner cannot parse ends the run with status 2, a message naming the line, and
# nothing after that line runs.
execute_process(
  COMMAND ${SIM}
  INPUT_FILE ${SCENARIO}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "expected exit status 2, got ${status}:\n${errors}")
endif()
if(NOT errors MATCHES "line 5")
  message(FATAL_ERROR "the message does not name line 5:\n${errors}")
endif()
if(NOT output STREQUAL "")
  message(FATAL_ERROR "something ran after the bad line:\n${output}")
endif()
