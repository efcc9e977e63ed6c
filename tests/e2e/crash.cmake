# SPDX-License-Identifier: GPL-3.0-or-later
# The real program killed while a user types: the journal keeps the text.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME crash_journal_test
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/crash_journal_test.py
          $<TARGET_FILE:talmo> 20)
# Alone, so the timing it checks is the program's, not a busy machine's.
set_tests_properties(crash_journal_test PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
