# SPDX-License-Identifier: GPL-3.0-or-later
talmo_unit_test(console_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/console_test.cpp
  LIBS talmo_console)
