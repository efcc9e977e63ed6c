# SPDX-License-Identifier: GPL-3.0-or-later
talmo_gui_test(window_store_test SOURCES window_store_test.cpp)
