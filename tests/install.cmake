# The installed game: cmake --install into a scratch prefix, then a short round through
# the installed launcher under Xvfb, in a scratch data folder.
find_program(XVFB Xvfb)
find_program(XDOTOOL xdotool)
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(XVFB AND XDOTOOL AND DESKTOP_FILE_VALIDATE)
  add_test(NAME Install.LauncherPlaysAndKeepsRecords
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/install_e2e.sh
            ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/e2e-install)
  set_tests_properties(Install.LauncherPlaysAndKeepsRecords PROPERTIES RUN_SERIAL ON TIMEOUT 180)
else()
  message(WARNING "Xvfb, xdotool or desktop-file-validate missing: the install test is not registered")
endif()
