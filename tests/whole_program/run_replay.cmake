# Runs the replay tool on one scenario script in the game's run folder and compares its whole output
# with the expected trace next to the script. On a difference the actual output is kept for review.
#   cmake -DREPLAY=<tool> -DSCRIPT=<x.replay> -DEXPECTED=<x.trace> -DRUN_DIR=<dir> -DACTUAL=<file>
#         [-DSYNCTEST_DEPTHS=1,2,...] -P run_replay.cmake
# With SYNCTEST_DEPTHS the script runs once per depth with --synctest=DEPTH, each run to the same trace.
set(options "")
if(DEFINED SYNCTEST_DEPTHS)
  string(REPLACE "," ";" depths "${SYNCTEST_DEPTHS}")
  foreach(depth IN LISTS depths)
    list(APPEND options "--synctest=${depth}")
  endforeach()
else()
  set(options "-")
endif()
file(READ ${EXPECTED} expected)
foreach(option IN LISTS options)
  set(arguments ${SCRIPT})
  if(NOT option STREQUAL "-")
    set(arguments ${option} ${SCRIPT})
  endif()
  execute_process(COMMAND ${REPLAY} ${arguments}
    WORKING_DIRECTORY ${RUN_DIR}
    OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE code)
  file(WRITE ${ACTUAL} "${actual}")
  if(NOT actual STREQUAL expected)
    execute_process(COMMAND diff -u ${EXPECTED} ${ACTUAL} OUTPUT_VARIABLE difference)
    string(SUBSTRING "${difference}" 0 4000 difference)
    message(FATAL_ERROR "${option}: trace differs from ${EXPECTED} (actual kept in ${ACTUAL}):\n${difference}\n${errors}")
  endif()
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${option}: replay exited with ${code}: ${errors}")
  endif()
endforeach()
