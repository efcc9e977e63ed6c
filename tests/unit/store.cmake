# SPDX-License-Identifier: GPL-3.0-or-later
talmo_unit_test(store_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/store_profile_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/store_snip_test.cpp
  LIBS talmo_store)
