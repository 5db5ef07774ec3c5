# valgrind's memcheck on the real program and on a round that saves: one robustness case
# run under valgrind, children followed (the forked round and the program it starts stay
# under memcheck, and memcheck's verdict becomes their exit status, which the case
# checks). Not in the sanitizer build: valgrind cannot run a program built with ASan.
find_program(VALGRIND valgrind)
if(VALGRIND AND NOT COMET_SANITIZE)
  add_test(NAME Valgrind.ProgramAndRoundThatSavesAreMemcheckClean
    COMMAND ${VALGRIND} -q --vgdb=no --trace-children=yes --error-exitcode=99 --leak-check=full
            --suppressions=${CMAKE_CURRENT_SOURCE_DIR}/valgrind/sdl12-compat.supp
            --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect
            $<TARGET_FILE:robustness_test> --gtest_filter=RecordFile/DamagedInput.*/InAReadOnlyFolder)
  set_tests_properties(Valgrind.ProgramAndRoundThatSavesAreMemcheckClean PROPERTIES
    LABELS slow TIMEOUT 900 ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
elseif(NOT VALGRIND)
  message(WARNING "valgrind missing: the memcheck test is not registered")
endif()
