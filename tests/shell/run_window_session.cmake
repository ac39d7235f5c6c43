# Two runs of the application sharing one profile store and working directory: FIRST as a journal,
# then SECOND with DOC on the command line. Their outputs together must equal EXPECTED.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR}/config)
file(COPY ${DATADIR} DESTINATION ${WORKDIR})
set(ENV{XDG_CONFIG_HOME} ${WORKDIR}/config)
set(ENV{ASAN_OPTIONS} detect_leaks=0)
set(ENV{QT_QPA_PLATFORM} xcb)
execute_process(COMMAND sh ${WITH_DISPLAY} ${APP} --journal ${FIRST} --exit
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE out1 ERROR_VARIABLE err1 RESULT_VARIABLE rc1 TIMEOUT 120)
execute_process(COMMAND sh ${WITH_DISPLAY} ${APP} ${DOC} --journal ${SECOND} --exit
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE out2 ERROR_VARIABLE err2 RESULT_VARIABLE rc2 TIMEOUT 120)
# The working directory is the machine's: it prints as <work>.
set(out "${out1}--- restart\n${out2}")
string(REPLACE "${WORKDIR}" "<work>" out "${out}")
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  file(WRITE ${WORKDIR}/actual.out "${out}")
  message(FATAL_ERROR "session output differs from ${EXPECTED}; actual output in ${WORKDIR}/actual.out\n${err1}\n${err2}")
endif()
if(NOT rc1 STREQUAL 0 OR NOT rc2 STREQUAL 0)
  message(FATAL_ERROR "session runs exited with ${rc1} and ${rc2}\n${err1}\n${err2}")
endif()
