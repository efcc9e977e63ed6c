// SPDX-License-Identifier: GPL-3.0-or-later
#include "FunctionCombo.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

#include <utility>

namespace talmo {

FunctionCombo::FunctionCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion is done here, so that it counts as a pick of the entry.
    setCompleter(nullptr);
    connect(lineEdit(), &QLineEdit::textEdited, this, &FunctionCombo::onTextEdited);
    connect(this, &QComboBox::activated, this, &FunctionCombo::picked);
    lineEdit()->installEventFilter(this);
}

void FunctionCombo::noteKey(const QKeyEvent* event) {
    m_deleting = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
}

void FunctionCombo::keyPressEvent(QKeyEvent* event) {
    noteKey(event);
    QComboBox::keyPressEvent(event);
}

bool FunctionCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress)
        noteKey(static_cast<QKeyEvent*>(event));
    return QComboBox::eventFilter(watched, event);
}

void FunctionCombo::hidePopup() {
    // Qt also calls this when the box itself is hidden (another page shown):
    // only the close of an open list counts.
    if (view()->isVisible())
        emit closedUp();
    QComboBox::hidePopup();
}

void FunctionCombo::onTextEdited(const QString& text) {
    // Complete only while the user adds to the text, as inline completion
    // does; a deletion searches nothing either.
    if (std::exchange(m_deleting, false))
        return;
    if (!text.isEmpty()) {
        for (int i = 0; i < count(); ++i) {
            const QString entry = itemText(i);
            if (entry.startsWith(text, Qt::CaseInsensitive)) {
                const QSignalBlocker quiet(lineEdit());
                lineEdit()->setText(entry);
                lineEdit()->setSelection(static_cast<int>(text.size()),
                                         static_cast<int>(entry.size() - text.size()));
                emit picked();
                return;
            }
        }
    }
    emit editedByUser();
}

} // namespace talmo
