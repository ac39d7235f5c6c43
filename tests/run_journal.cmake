# Runs one journal and compares its standard output with the expected text NAME.out.
# Optional companions of NAME.out:
#   NAME.rc   the expected exit status (a number), when it is not 0;
#   NAME.err  the expected standard error, compared exactly (otherwise it is only shown on failure).
file(MAKE_DIRECTORY ${WORKDIR})
# The tiny fixtures of tests/data/ sit in the scratch folder, so journals name them without a path.
file(GLOB fixtures ${CMAKE_CURRENT_LIST_DIR}/data/*)
if(fixtures)
  file(COPY ${fixtures} DESTINATION ${WORKDIR})
endif()
execute_process(COMMAND ${CLI} run ${JRN}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(READ ${EXPECTED} expected)
string(REGEX REPLACE "\\.out$" "" stem ${EXPECTED})

set(want_rc 0)
if(EXISTS ${stem}.rc)
  file(STRINGS ${stem}.rc want_rc LIMIT_COUNT 1)
  string(STRIP "${want_rc}" want_rc)
endif()

if(NOT out STREQUAL expected)
  file(WRITE ${WORKDIR}/actual.out "${out}")
  message(FATAL_ERROR "journal output differs from ${EXPECTED} (exit ${rc}); actual output in ${WORKDIR}/actual.out\n${err}\n--- actual ---\n${out}")
endif()
if(NOT rc STREQUAL want_rc)
  message(FATAL_ERROR "journal exited with ${rc}, expected ${want_rc}\n${err}")
endif()
if(EXISTS ${stem}.err)
  file(READ ${stem}.err want_err)
  if(NOT err STREQUAL want_err)
    file(WRITE ${WORKDIR}/actual.err "${err}")
    message(FATAL_ERROR "journal standard error differs from ${stem}.err\n--- actual ---\n${err}")
  endif()
endif()
