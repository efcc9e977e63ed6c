# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_start_test SOURCES window_start_test.cpp)
