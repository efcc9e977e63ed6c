# SPDX-License-Identifier: GPL-3.0-or-later
# Editor contract tests: the same cases run against TextModel and QsciEditor,
# plus the QScintilla control's own keys, shortcuts and styles. The program
# has its own main(), which creates the QApplication (offscreen by default).
add_executable(talmo_editor_tests
  ${CMAKE_CURRENT_LIST_DIR}/qt_gtest_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editor_contract_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editor_qsci_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editor_codec_test.cpp)
target_link_libraries(talmo_editor_tests PRIVATE
  talmo_editor talmo_editor_qsci Qt6::Widgets Qt6::Test GTest::gtest)
target_compile_definitions(talmo_editor_tests PRIVATE
  QT_NO_CAST_FROM_ASCII
  TALMO_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/../data"
  TALMO_SOURCE_DIR="${CMAKE_CURRENT_LIST_DIR}/../..")
gtest_discover_tests(talmo_editor_tests
  DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)

# The shared text and file helpers (no Qt).
talmo_unit_test(talmo_text_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/editor_text_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/editor_session_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/editor_unsaved_test.cpp
  LIBS talmo_editor)
