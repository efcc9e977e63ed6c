# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_commands_test SOURCES window_commands_test.cpp)
