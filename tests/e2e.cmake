# End-to-end: the real game in a real window under Xvfb, driven by xdotool, launched
# through scripts/lib/launch.sh at scale 1 and at scale 2 on sdl12-compat; then the
# screens the launcher fits, full screen, and a virtual gamepad.
find_program(XVFB Xvfb)
find_program(XDOTOOL xdotool)
find_program(XWININFO xwininfo)
if(XVFB AND XDOTOOL AND XWININFO)
  add_test(NAME EndToEnd.TheWholeJourneyAtScaleOneAndTwo
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/journey_e2e.sh
            $<TARGET_FILE:comet-drifter> ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/e2e
            ${CMAKE_SOURCE_DIR}/scripts/lib/launch.sh $<TARGET_FILE:virtual_pad>
            $<$<BOOL:${COMET_SANITIZE}>:sanitized>)
  set_tests_properties(EndToEnd.TheWholeJourneyAtScaleOneAndTwo PROPERTIES RUN_SERIAL ON TIMEOUT 300)
  if(COMET_SANITIZE)
    # SDL2 and D-Bus, under sdl12-compat, keep allocations to the end from modules they
    # have unloaded by then, which no suppression can name. Memory errors still stop the
    # game; its own leaks are checked by the runs on classic SDL.
    set_tests_properties(EndToEnd.TheWholeJourneyAtScaleOneAndTwo PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
  endif()
else()
  message(WARNING "Xvfb, xdotool or xwininfo missing: the end-to-end test is not registered")
endif()

# A virtual gamepad preloaded into the game on sdl12-compat (no pad can be plugged in here).
find_package(Threads REQUIRED)
add_library(virtual_pad MODULE e2e/virtual_pad.cpp)
target_compile_options(virtual_pad PRIVATE -Wall -Wextra)
target_link_libraries(virtual_pad PRIVATE ${CMAKE_DL_LIBS} Threads::Threads)
