# SPDX-License-Identifier: GPL-3.0-or-later
# The reference notebook, driven as a widget under the offscreen platform.
# Its own main creates the QApplication, so it does not use talmo_unit_test.
add_executable(help_test help_pages_test.cpp qt_gtest_main.cpp)
target_link_libraries(help_test PRIVATE talmo_help Qt6::Test GTest::gtest)
target_compile_definitions(help_test PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_FOREACH)
gtest_discover_tests(help_test DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
