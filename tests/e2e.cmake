# End-to-end: the real game in a real window under Xvfb, driven by xdotool.
find_program(XVFB Xvfb)
find_program(XDOTOOL xdotool)
if(XVFB AND XDOTOOL)
  add_test(NAME EndToEnd.PlayInARealWindow
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/play_e2e.sh
            $<TARGET_FILE:comet-drifter> ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/e2e)
  set_tests_properties(EndToEnd.PlayInARealWindow PROPERTIES RUN_SERIAL ON TIMEOUT 180)
else()
  message(WARNING "Xvfb or xdotool missing: the end-to-end test is not registered")
endif()
