# SPDX-License-Identifier: GPL-3.0-or-later
# The launcher with the real batch runner, the real QuakeC compiler and
# stand-ins for notepad and the game.
if(NOT WIN32)
  talmo_e2e_test(launch_e2e_test SOURCES launch_e2e_test.cpp LIBS talmo_app talmo_gui_fixture)
  target_compile_definitions(launch_e2e_test PRIVATE TALMO_BATCH_DIR="${CMAKE_BINARY_DIR}/app")
  add_dependencies(launch_e2e_test talmo-batch)
endif()
