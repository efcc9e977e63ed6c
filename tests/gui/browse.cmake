# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_browse_test SOURCES window_browse_test.cpp)
