# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_hostile_test SOURCES window_hostile_test.cpp)
