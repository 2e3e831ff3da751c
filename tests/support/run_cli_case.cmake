# Runs korvane-cli with the arguments of one case file (one argument a line,
# run in the case's folder) and compares its standard output and exit status
# with the expected ones: NAME.args, NAME.out, and NAME.status (0 when absent).
file(STRINGS "${CASE}.args" arguments ENCODING UTF-8)
get_filename_component(folder "${CASE}" DIRECTORY)
set(expected_status 0)
if(EXISTS "${CASE}.status")
  file(READ "${CASE}.status" expected_status)
  string(STRIP "${expected_status}" expected_status)
endif()
execute_process(COMMAND "${CLI}" ${arguments}
                WORKING_DIRECTORY "${folder}"
                OUTPUT_FILE "${OUTPUT}"
                ERROR_VARIABLE errors
                RESULT_VARIABLE status)
if(NOT status STREQUAL expected_status)
  message(FATAL_ERROR "exit status ${status}, expected ${expected_status}\n${errors}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUTPUT}" "${CASE}.out"
                RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "output ${OUTPUT} differs from ${CASE}.out")
endif()
