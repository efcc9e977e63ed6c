# SPDX-License-Identifier: GPL-3.0-or-later
if(NOT WIN32)
  talmo_gui_test(window_compile_test SOURCES window_compile_test.cpp)
  target_compile_definitions(window_compile_test PRIVATE TALMO_BATCH_DIR="${CMAKE_BINARY_DIR}/app")
  add_dependencies(window_compile_test talmo-batch)
endif()
