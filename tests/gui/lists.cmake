# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_lists_test SOURCES window_lists_test.cpp)
