# Runs DRIVER on SCRIPT and compares what it prints (standard output, then
# standard error, then the exit status) with the file beside it, SCRIPT.out.
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
execute_process(COMMAND ${DRIVER} ${SCRIPT}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
set(actual "${out}")
if(NOT err STREQUAL "")
  string(APPEND actual "--- stderr\n${err}")
endif()
string(APPEND actual "--- exit ${status}\n")
file(READ ${dir}/${name}.out expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${WORKDIR}/${name}.actual "${actual}")
  message(FATAL_ERROR "${name}: output differs from ${name}.out; got (also in ${WORKDIR}/${name}.actual):\n${actual}")
endif()
