# Runs the counting replay tool twice on the same lines: the window is closed after the warm-up in one run and
# after the added frames in the other, so both read the same script and quit the same way, and only the frames
# played differ. Fails unless both runs count the same allocations and the long run went through play and menu.
# The synthesiser loads its samples at start-up on a thread pool whose share of work, and so its allocations,
# falls with scheduling; OMP_NUM_THREADS=1 keeps that loading on one thread so that start-up counts the same.
#   cmake -DREPLAY=<counting tool> -DWARM_UP=<x.replay> -DBODY=<y.replay> -DRUN_DIR=<dir> -DWORK_DIR=<dir> -P ...
file(MAKE_DIRECTORY ${WORK_DIR})
file(READ ${WARM_UP} warmUp)
file(READ ${BODY} body)
set(quit "close\n1\n")
file(WRITE ${WORK_DIR}/short.replay "${warmUp}${quit}${body}")
file(WRITE ${WORK_DIR}/long.replay "${warmUp}${body}${quit}")

function(count_allocations script countVariable traceVariable)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env OMP_NUM_THREADS=1 ${REPLAY} ${script} WORKING_DIRECTORY ${RUN_DIR}
    OUTPUT_VARIABLE trace ERROR_VARIABLE errors RESULT_VARIABLE code)
  if(NOT code EQUAL 0 OR NOT errors MATCHES "allocations ([0-9]+)")
    message(FATAL_ERROR "replay of ${script} exited with ${code}: ${errors}")
  endif()
  set(${countVariable} ${CMAKE_MATCH_1} PARENT_SCOPE)
  set(${traceVariable} "${trace}" PARENT_SCOPE)
endfunction()

count_allocations(${WORK_DIR}/short.replay shortCount shortTrace)
count_allocations(${WORK_DIR}/long.replay longCount longTrace)
message(STATUS "allocations: ${shortCount} closed after the warm-up, ${longCount} after the added frames")
if(NOT shortCount EQUAL longCount)
  math(EXPR extra "${longCount} - ${shortCount}")
  message(FATAL_ERROR "the replay tool made ${extra} more allocations in the added frames")
endif()
# The added frames covered what they are meant to: level 3, a game over, menu frames and two players.
foreach(pattern "lvl=3" "lives=0," " m=1 " " pc=2 ")
  string(FIND "${longTrace}" "${pattern}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the long run never showed '${pattern}'")
  endif()
endforeach()
