# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_reports_test SOURCES window_reports_test.cpp)
