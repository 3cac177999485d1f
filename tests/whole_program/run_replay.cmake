# Runs the replay tool on one scenario script in the game's run folder and compares its whole output
# with the expected trace next to the script. On a difference the actual output is kept for review.
#   cmake -DREPLAY=<tool> -DSCRIPT=<x.replay> -DEXPECTED=<x.trace> -DRUN_DIR=<dir> -DACTUAL=<file> -P run_replay.cmake
execute_process(COMMAND ${REPLAY} ${SCRIPT}
  WORKING_DIRECTORY ${RUN_DIR}
  OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE code)
file(READ ${EXPECTED} expected)
file(WRITE ${ACTUAL} "${actual}")
if(NOT actual STREQUAL expected)
  execute_process(COMMAND diff -u ${EXPECTED} ${ACTUAL} OUTPUT_VARIABLE difference)
  string(SUBSTRING "${difference}" 0 4000 difference)
  message(FATAL_ERROR "trace differs from ${EXPECTED} (actual kept in ${ACTUAL}):\n${difference}\n${errors}")
endif()
if(NOT code EQUAL 0)
  message(FATAL_ERROR "replay exited with ${code}: ${errors}")
endif()
