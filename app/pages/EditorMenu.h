// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's context menu (copypastertalmo): Cut, Copy, Paste, Next and
// help, whose shortcuts act while the editor has the focus.
#pragma once

#include <QMenu>

class QAction;

namespace talmo {

class EditorMenu : public QMenu {
    Q_OBJECT
public:
    explicit EditorMenu(QWidget* parent);

    // Shows the menu on a right click of `editor` and makes its shortcuts act
    // there.
    void attach(QWidget* editor);

signals:
    void cutChosen();
    void copyChosen();
    void pasteChosen();
    void nextChosen();
    void helpChosen();

private:
    QAction* cut1 = nullptr;
    QAction* copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* next1 = nullptr;
    QAction* help1 = nullptr;
};

} // namespace talmo
