# Golden frames: the frame-sums driver's console and every frame's checksum, as kept.
add_test(NAME GoldenFrames.EveryFrameAndConsoleLineAsKept
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/golden/check.sh $<TARGET_FILE:comet-frame-sums>
          ${CMAKE_BINARY_DIR}/image ${CMAKE_BINARY_DIR}/golden)
set_tests_properties(GoldenFrames.EveryFrameAndConsoleLineAsKept PROPERTIES
  ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy" TIMEOUT 120)
