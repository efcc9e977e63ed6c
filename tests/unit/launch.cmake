# SPDX-License-Identifier: GPL-3.0-or-later
talmo_unit_test(launch_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/launch_batch_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/launch_messages_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/launch_runner_test.cpp
  LIBS talmo_launch)
if(TARGET talmo-batch)
  # The runs go through the real runner, found on PATH.
  add_dependencies(launch_tests talmo-batch)
  target_compile_definitions(launch_tests PRIVATE
    TALMO_BATCH_RUNNER_DIR="$<TARGET_FILE_DIR:talmo-batch>")
endif()
