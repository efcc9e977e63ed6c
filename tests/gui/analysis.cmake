# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_analysis_test SOURCES window_analysis_test.cpp)
