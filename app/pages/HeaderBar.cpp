// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeaderBar.h"

#include "PageControls.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace talmo {

HeaderBar::HeaderBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("HeaderControl1"));
    setFrameShape(QFrame::StyledPanel);
    auto* header = new QHBoxLayout(this);
    header->setContentsMargins(4, 2, 4, 2);
    header->addStretch(1);
    qccarranca = button("qccarranca", QStringLiteral("QCC!"), QStringLiteral("Run the QCC app."));
    Button5 = button("Button5", QStringLiteral("GO!"), QStringLiteral("Run the QCC app."));
    header->addWidget(qccarranca);
    header->addWidget(Button5);
    connect(qccarranca, &QPushButton::clicked, this, &HeaderBar::compileClicked);
    connect(Button5, &QPushButton::clicked, this, &HeaderBar::goClicked);
}

} // namespace talmo
