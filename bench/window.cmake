# SPDX-License-Identifier: GPL-3.0-or-later
# The window's handlers in the real QScintilla editor: highlighting, function
# index, replace and colorize at 1 MB and 10 MB, the switch, "funcs()" over
# 200 files, start-up on 10,000 files; `bench_window --peak-memory` prints
# the peak memory of a process holding a 10 MB file.
talmo_benchmark(bench_window
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_window.cpp
  LIBS talmo_app)
target_include_directories(bench_window PRIVATE ${CMAKE_CURRENT_LIST_DIR}
                                                ${CMAKE_CURRENT_LIST_DIR}/../tests/unit)
