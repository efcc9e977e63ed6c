# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_launch_test SOURCES window_launch_test.cpp)
