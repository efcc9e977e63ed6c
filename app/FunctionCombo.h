// SPDX-License-Identifier: GPL-3.0-or-later
// The quick-access box `com`: an editable drop-down whose typed text
// completes, ignoring case, to the first entry it begins. It reports the
// close of its list, the user's edits and picks separately, so that each
// runs the window's handler as often as the window wants.
#pragma once

#include <QComboBox>

namespace talmo {

class FunctionCombo : public QComboBox {
    Q_OBJECT
public:
    explicit FunctionCombo(QWidget* parent = nullptr);
    void hidePopup() override;

protected:
    // The box itself receives the keys and hands them to its line edit
    // directly, past that edit's event filters: both are watched.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // The drop-down list closed, before a picked entry becomes the text.
    void closedUp();
    // The user typed into the text, and no entry completed it. Deleting
    // (Backspace, Delete) is not reported.
    void editedByUser();
    // An entry became the text: picked in the list, by arrow keys, or by
    // completing what the user typed.
    void picked();

private:
    void onTextEdited(const QString& text);
    void noteKey(const QKeyEvent* event);

    bool m_deleting = false; // the last key in the box removes text
};

} // namespace talmo
