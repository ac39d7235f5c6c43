# Runs one journal and compares its standard output with the expected text.
file(MAKE_DIRECTORY ${WORKDIR})
execute_process(COMMAND ${CLI} run ${JRN}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  file(WRITE ${WORKDIR}/actual.out "${out}")
  message(FATAL_ERROR "journal output differs from ${EXPECTED} (exit ${rc}); actual output in ${WORKDIR}/actual.out\n${err}\n--- actual ---\n${out}")
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "journal exited with ${rc}\n${err}")
endif()
