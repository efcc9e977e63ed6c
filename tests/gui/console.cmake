# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_console_test SOURCES window_console_test.cpp)
