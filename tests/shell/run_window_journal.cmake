# Runs one journal in the real window (altimetra --journal FILE --exit) and compares its standard
# output with NAME.out. NAME.rc, when present, holds the expected exit status. The run has a
# profile store and working directory of its own; the files of data/ are copied into it.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR}/config)
file(COPY ${DATADIR} DESTINATION ${WORKDIR})
set(ENV{XDG_CONFIG_HOME} ${WORKDIR}/config)
set(ENV{ASAN_OPTIONS} detect_leaks=0)
set(ENV{QT_QPA_PLATFORM} xcb)
execute_process(COMMAND sh ${WITH_DISPLAY} ${APP} --journal ${JRN} --exit
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc TIMEOUT 120)
# The working directory is the machine's: it prints as <work>.
string(REPLACE "${WORKDIR}" "<work>" out "${out}")
file(READ ${EXPECTED} expected)
string(REGEX REPLACE "\\.out$" "" stem ${EXPECTED})
set(want_rc 0)
if(EXISTS ${stem}.rc)
  file(STRINGS ${stem}.rc want_rc LIMIT_COUNT 1)
  string(STRIP "${want_rc}" want_rc)
endif()
if(NOT out STREQUAL expected)
  file(WRITE ${WORKDIR}/actual.out "${out}")
  message(FATAL_ERROR "window journal output differs from ${EXPECTED} (exit ${rc}); actual output in ${WORKDIR}/actual.out\n${err}\n--- actual ---\n${out}")
endif()
if(NOT rc STREQUAL want_rc)
  message(FATAL_ERROR "window journal exited with ${rc}, expected ${want_rc}\n${err}")
endif()
