# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_navigation_test SOURCES window_navigation_test.cpp)
