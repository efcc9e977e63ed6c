# SPDX-License-Identifier: GPL-3.0-or-later
# Load, save, find and bulk colouring through the QScintilla editor.
talmo_benchmark(bench_editor
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_editor.cpp
  LIBS talmo_editor talmo_editor_qsci Qt6::Widgets)
