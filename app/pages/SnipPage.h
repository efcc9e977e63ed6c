// SPDX-License-Identifier: GPL-3.0-or-later
// The Snip page: the .snip files of the working directory, one shown in a
// memo to change or copy, and saved under a new name. A snippet is 8-bit
// text: its bytes show one byte one character in the memo and go back the
// same way; the snippet names are in the file-name encoding.
#pragma once

#include "PageControls.h"

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace talmo {

class FileListBox;

class SnipPage : public QWidget {
    Q_OBJECT
public:
    SnipPage(PageServices services, const QString& directory, QWidget* parent = nullptr);

    // Lists the snippets of `directory`.
    void setDirectory(const QString& directory);

    void xxtfileboxClick();
    void salvaxssClick();

private:
    PageServices m_services;
    FileListBox* xxtfilebox = nullptr;
    QLineEdit* xxtfile = nullptr;
    QPushButton* salvaxss = nullptr;
    QPlainTextEdit* xxtcode = nullptr;
};

} // namespace talmo
