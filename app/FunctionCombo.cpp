#include "FunctionCombo.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

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

bool FunctionCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        m_deleting = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    }
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
    // Complete only while the user adds to the text, as inline completion does.
    if (!m_deleting && !text.isEmpty()) {
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
