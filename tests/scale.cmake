# The window scale: --scale as play.sh reads it (no display needed), and the scaled
# window on sdl12-compat under Xvfb, launched the way play.sh and the launcher do it.
add_test(NAME Launcher.ScaleArgumentIsOneToFour
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/scale_args.sh
          ${CMAKE_SOURCE_DIR}/play.sh ${CMAKE_SOURCE_DIR}/scripts/launch.sh)
set_tests_properties(Launcher.ScaleArgumentIsOneToFour PROPERTIES TIMEOUT 30)

find_program(XVFB Xvfb)
find_program(XDOTOOL xdotool)
find_program(XWININFO xwininfo)
if(XVFB AND XDOTOOL AND XWININFO)
  add_test(NAME EndToEnd.ScaledWindowOnSdl12Compat
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/scale_e2e.sh
            $<TARGET_FILE:comet-drifter> ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/e2e-scale
            ${CMAKE_SOURCE_DIR}/scripts/launch.sh $<$<BOOL:${COMET_SANITIZE}>:sanitized>)
  set_tests_properties(EndToEnd.ScaledWindowOnSdl12Compat PROPERTIES RUN_SERIAL ON TIMEOUT 180)
  if(COMET_SANITIZE)
    # SDL2 and D-Bus, under sdl12-compat, keep allocations to the end from modules they
    # have unloaded by then, which no suppression can name. Memory errors still stop the
    # game here; the game's own leaks are checked by the runs on classic SDL.
    set_tests_properties(EndToEnd.ScaledWindowOnSdl12Compat PROPERTIES
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
  endif()
else()
  message(WARNING "Xvfb, xdotool or xwininfo missing: the scaled-window test is not registered")
endif()
