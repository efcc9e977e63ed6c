// SPDX-License-Identifier: GPL-3.0-or-later
// The bar above the notebook: QCC! (compile) and GO! (start the game).
#pragma once

#include <QFrame>

class QPushButton;

namespace talmo {

class HeaderBar : public QFrame {
    Q_OBJECT
public:
    explicit HeaderBar(QWidget* parent = nullptr);

signals:
    void compileClicked();
    void goClicked();

private:
    QPushButton* qccarranca = nullptr;
    QPushButton* Button5 = nullptr;
};

} // namespace talmo
