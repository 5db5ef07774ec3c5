# Soak: two hundred title-and-round cycles in one process, resident memory compared after
# the first cycles and after the last. Not a discovered gtest: it carries the label slow.
add_executable(soak_test ${CMAKE_CURRENT_SOURCE_DIR}/soak/soak_test.cpp)
target_link_libraries(soak_test PRIVATE test_support GTest::gtest_main)
target_compile_options(soak_test PRIVATE -Wall -Wextra)
add_dependencies(soak_test art)
add_test(NAME Soak.TwoHundredTitleAndRoundCyclesDoNotGrowResidentMemory COMMAND soak_test)
set_tests_properties(Soak.TwoHundredTitleAndRoundCyclesDoNotGrowResidentMemory PROPERTIES
  LABELS slow TIMEOUT 600 ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
