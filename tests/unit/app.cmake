# SPDX-License-Identifier: GPL-3.0-or-later
# The window's controllers, driven without the window: the working directory,
# the edit controller over the in-memory editor, navigation and the compile
# loop. Their own main() creates the QApplication (offscreen).
add_executable(talmo_app_tests
  ${CMAKE_CURRENT_LIST_DIR}/qt_gtest_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_working_directory_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_edit_controller_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_compile_controller_test.cpp)
target_link_libraries(talmo_app_tests PRIVATE talmo_app GTest::gtest)
target_compile_definitions(talmo_app_tests PRIVATE QT_NO_CAST_FROM_ASCII)
if(TARGET talmo-batch)
  # The compiles go through the real runner, found on PATH.
  add_dependencies(talmo_app_tests talmo-batch)
  target_compile_definitions(talmo_app_tests PRIVATE
    TALMO_BATCH_RUNNER_DIR="$<TARGET_FILE_DIR:talmo-batch>")
endif()
gtest_discover_tests(talmo_app_tests
  DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
