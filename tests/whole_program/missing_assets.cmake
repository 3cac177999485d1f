# Each of the game's 18 asset files missing in turn: the game shows the message box of the group that failed,
# and no other, writes one stderr line naming the file and why, and still runs through a match to its exit.
#   cmake -DREPLAY=<tool> -DSCRIPT=<script> -DRUN_DIR=<dir> -DWORK_DIR=<scratch> -P missing_assets.cmake
set(groups
  "Backgrounds/back6.spr|Backgrounds Loading Failed"
  "Backgrounds/menu.spr|Backgrounds Loading Failed"
  "Backgrounds/gameover.spr|Backgrounds Loading Failed"
  "Sprites/hud2.spr|Graphics Loading Failed"
  "Sprites/lighting.spr|Graphics Loading Failed"
  "Sprites/ball2.spr|Graphics Loading Failed"
  "Sprites/ball.spr|Graphics Loading Failed"
  "Sprites/paddle1.spr|Graphics Loading Failed"
  "Sprites/paddle2.spr|Graphics Loading Failed"
  "Sprites/block1.spr|Graphics Loading Failed"
  "Sprites/newgame.spr|Graphics Loading Failed"
  "Sprites/player1.spr|Graphics Loading Failed"
  "Sprites/player2.spr|Graphics Loading Failed"
  "Sprites/quit.spr|Graphics Loading Failed"
  "Sprites/cursor1.spr|Graphics Loading Failed"
  "SoundFX/bounce3.wav|Sound Loading Failed"
  "SoundFX/score.wav|Sound Loading Failed"
  "Music/song10.mid|Error Loading Music!")
list(LENGTH groups count)
if(NOT count EQUAL 18)
  message(FATAL_ERROR "expected 18 asset files, listed ${count}")
endif()

set(failures "")
foreach(entry IN LISTS groups)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 file)
  list(GET parts 1 text)
  file(REMOVE_RECURSE ${WORK_DIR})
  file(MAKE_DIRECTORY ${WORK_DIR})
  foreach(folder Backgrounds Sprites SoundFX Music)
    file(COPY ${RUN_DIR}/${folder} DESTINATION ${WORK_DIR})
  endforeach()
  if(NOT EXISTS ${WORK_DIR}/${file})
    message(FATAL_ERROR "the run folder has no ${file}; were the assets generated?")
  endif()
  file(REMOVE ${WORK_DIR}/${file})
  execute_process(COMMAND ${REPLAY} ${SCRIPT} WORKING_DIRECTORY ${WORK_DIR}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE code)
  # Every message box line, in order: exactly the one for this file's group.
  string(REGEX MATCHALL "msgbox [^\n]*" boxes "${out}")
  set(wanted "msgbox \"ERROR\" \"${text}\"")
  if(NOT boxes STREQUAL wanted)
    string(APPEND failures "without ${file}: message boxes [${boxes}], wanted [${wanted}]\n")
  endif()
  # Beside the box, one stderr line names the file and the loader's reason.
  string(REGEX MATCHALL "(PICTURE|SOUND|MUSIC): ${file}: [^\n]+" reports "${err}")
  list(LENGTH reports reportCount)
  if(NOT reportCount EQUAL 1)
    string(APPEND failures "without ${file}: stderr [${err}] lacks one line naming the file and a reason\n")
  endif()
  if(NOT code EQUAL 0 OR NOT out MATCHES "\nexit 0\n$")
    string(APPEND failures "without ${file}: the game did not run to its exit (code ${code}): ${err}\n")
  endif()
  if(NOT out MATCHES " m=0 ")
    string(APPEND failures "without ${file}: no frame of play was flipped\n")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
