// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorMenu.h"

#include "PageControls.h"

#include <QAction>

namespace talmo {

EditorMenu::EditorMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("copypastertalmo"));
    cut1 = namedAction(this, "cut1", QStringLiteral("&Cut"), QKeySequence(Qt::CTRL | Qt::Key_X));
    copy1 = namedAction(this, "copy1", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1 =
        namedAction(this, "Paste1", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    addSeparator()->setObjectName(QStringLiteral("N1"));
    next1 = namedAction(this, "next1", QStringLiteral("Next"), QKeySequence(Qt::Key_F3));
    help1 = namedAction(this, "help1", QStringLiteral("help"), QKeySequence(Qt::Key_F1));
    // A hidden action's shortcut does not fire in Qt, so the help entry is
    // hidden only while the menu is open.
    connect(this, &QMenu::aboutToShow, this, [this] { help1->setVisible(false); });
    connect(this, &QMenu::aboutToHide, this, [this] { help1->setVisible(true); });

    connect(cut1, &QAction::triggered, this, &EditorMenu::cutChosen);
    connect(copy1, &QAction::triggered, this, &EditorMenu::copyChosen);
    connect(Paste1, &QAction::triggered, this, &EditorMenu::pasteChosen);
    connect(next1, &QAction::triggered, this, &EditorMenu::nextChosen);
    connect(help1, &QAction::triggered, this, &EditorMenu::helpChosen);
}

void EditorMenu::attach(QWidget* editor) {
    editor->addActions(actions());
    attachContextMenu(editor, this);
}

} // namespace talmo
