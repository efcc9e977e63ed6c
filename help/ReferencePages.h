// SPDX-License-Identifier: GPL-3.0-or-later
// The read-only reference notebook shown on the Help page: the game's
// console commands, a QuakeC manual in five pages, QuakeC examples and the
// program's own mini-help. The texts are 8-bit resources shown one byte one
// character (Latin-1).
#pragma once

#include <QString>

class QTabWidget;
class QWidget;

namespace talmo {

// A new notebook (objectName "TabbedNotebook2") of seven pages, each one
// read-only QPlainTextEdit (Memo1, Memo3 .. Memo8) wrapping at its width;
// the seventh page, the mini-help, is selected. The caller owns the result
// (or `parent` does, when given).
QTabWidget* createReferenceNotebook(QWidget* parent);
// Makes `notebook` (empty) that notebook.
void fillReferenceNotebook(QTabWidget& notebook);

// The text of one page by its zero-based index (0 console .. 6 mini-help),
// decoded as Latin-1; empty for an index out of range.
QString referencePageText(int page);

} // namespace talmo
