# valgrind's memcheck on a short real run of the game (start-up, title, SIGTERM). Not in
# the sanitizer build: valgrind cannot run a program built with AddressSanitizer.
find_program(VALGRIND valgrind)
if(VALGRIND AND NOT COMET_SANITIZE)
  add_test(NAME Valgrind.TitleRunIsMemcheckClean
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/valgrind/title_memcheck.sh
            $<TARGET_FILE:comet-drifter> ${CMAKE_BINARY_DIR} 3)
  set_tests_properties(Valgrind.TitleRunIsMemcheckClean PROPERTIES LABELS slow TIMEOUT 300)
elseif(NOT VALGRIND)
  message(WARNING "valgrind missing: the memcheck test is not registered")
endif()

# A round that Escape ends and saves: the game's own code in the child process of one
# robustness case (a forked child stays under valgrind; its exit status then carries
# memcheck's verdict, which the case checks).
if(VALGRIND AND NOT COMET_SANITIZE)
  add_test(NAME Valgrind.RoundThatSavesIsMemcheckClean
    COMMAND ${VALGRIND} -q --error-exitcode=99 --leak-check=full
            --suppressions=${CMAKE_CURRENT_SOURCE_DIR}/valgrind/sdl12-compat.supp
            --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect
            $<TARGET_FILE:robustness_test> --gtest_filter=RecordFile/DamagedInput.*/InAReadOnlyFolder)
  set_tests_properties(Valgrind.RoundThatSavesIsMemcheckClean PROPERTIES
    LABELS slow TIMEOUT 300 ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
endif()
