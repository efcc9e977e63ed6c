# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_unsaved_test SOURCES window_unsaved_test.cpp)
