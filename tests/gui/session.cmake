# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_session_test SOURCES window_session_test.cpp)
