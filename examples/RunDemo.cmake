# Runs the showcase for `make demo`: in the simulator window when a display is there, else headless through
# its key script, leaving the screenshots in SHOTS. Called with -P and -D APP, KEYS, SHOTS, STATE.
file(REMOVE_RECURSE "${STATE}" "${SHOTS}")
file(MAKE_DIRECTORY "${STATE}" "${SHOTS}")
# A throwaway state folder, so every demo starts from the same sample notes and settings.
set(ENV{LXEDB_DIR} "${STATE}")
set(ENV{CEHOST_REGISTRY} "${STATE}/registry.db")

set(result 2)
if(NOT "$ENV{DISPLAY}$ENV{WAYLAND_DISPLAY}" STREQUAL "")
  message(STATUS "Opening the showcase in the simulator window (F1/F2 soft keys, F3 select, F12 screenshot)")
  execute_process(COMMAND "${APP}" --shots "${SHOTS}" RESULT_VARIABLE result)
  # 2 is the simulator's answer when the window cannot be opened (no SDL2 in this build, display gone).
  if(result EQUAL 2)
    message(STATUS "The window could not be opened; playing the key script headless instead")
    file(REMOVE_RECURSE "${STATE}")
    file(MAKE_DIRECTORY "${STATE}")
  endif()
endif()
if(result EQUAL 2)
  execute_process(COMMAND "${APP}" --headless --script "${KEYS}" --shots "${SHOTS}" --time-limit 120000
                  RESULT_VARIABLE result)
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The showcase ended with exit code ${result}")
endif()
file(GLOB shots "${SHOTS}/*.png")
list(LENGTH shots count)
message(STATUS "${count} screenshots of the demo are in ${SHOTS}")
