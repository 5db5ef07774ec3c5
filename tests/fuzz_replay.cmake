# The fuzz targets' seed corpus and kept crash inputs, replayed on every test run through
# the same target code built without libFuzzer (fuzz/ReplayMain.cpp feeds the files).
set(FUZZ_DIR ${CMAKE_SOURCE_DIR}/fuzz)
foreach(target RecordFile MapList)
  string(TOLOWER ${target} lower)
  add_executable(replay_${lower} ${FUZZ_DIR}/${target}Target.cpp ${FUZZ_DIR}/FuzzScratch.cpp
                                 ${FUZZ_DIR}/ReplayMain.cpp)
  target_link_libraries(replay_${lower} PRIVATE comet)
  target_compile_options(replay_${lower} PRIVATE -Wall -Wextra)
  add_test(NAME FuzzReplay.${target}
    COMMAND replay_${lower} ${FUZZ_DIR}/corpus/${lower} ${FUZZ_DIR}/regressions/${lower})
  set_tests_properties(FuzzReplay.${target} PROPERTIES
    ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy" TIMEOUT 120)
endforeach()
