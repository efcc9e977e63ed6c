# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of the QuakeC text analysis: bulk computations against step-by-step
# versions written on the editor contract, and table-driven edge cases.
talmo_unit_test(analysis_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/analysis_reference.cpp
    ${CMAKE_CURRENT_LIST_DIR}/analysis_highlight_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/analysis_index_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/analysis_replace_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/analysis_report_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/analysis_golden_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/analysis_definitions_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/analysis_completion_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/analysis_lookup_test.cpp
  LIBS talmo_analysis)
