// SPDX-License-Identifier: GPL-3.0-or-later
// The bar above the editor that offers unsaved text left by an earlier run:
// the file's name, when its text was kept, Recover and Discard. Not modal:
// the window goes on working while it shows.
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace talmo {

class RecoverBar : public QFrame {
    Q_OBJECT
public:
    explicit RecoverBar(QWidget* parent = nullptr);
    // Shows the offer of `fileName`'s text kept at `written` (seconds since 1970).
    void offer(const QString& fileName, qint64 written);

signals:
    void recoverClicked();
    void discardClicked();

private:
    QLabel* m_text;
};

} // namespace talmo
