# SPDX-License-Identifier: GPL-3.0-or-later
# Files under the names and rules of the system the tests run on.
talmo_unit_test(platform_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/platform_files_test.cpp
  LIBS talmo_analysis talmo_launch talmo_store)
