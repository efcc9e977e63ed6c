// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecoverBar.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace talmo {

RecoverBar::RecoverBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("recoverbar"));
    setFrameShape(QFrame::StyledPanel);
    // The palette's own tooltip colours: readable on light and dark themes.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    m_text = new QLabel;
    m_text->setForegroundRole(QPalette::ToolTipText);
    m_text->setWordWrap(true);
    auto* recover = new QPushButton(QStringLiteral("Recover"));
    recover->setObjectName(QStringLiteral("recover"));
    auto* discard = new QPushButton(QStringLiteral("Discard"));
    discard->setObjectName(QStringLiteral("discard"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(m_text, 1);
    layout->addWidget(recover);
    layout->addWidget(discard);
    connect(recover, &QPushButton::clicked, this, &RecoverBar::recoverClicked);
    connect(discard, &QPushButton::clicked, this, &RecoverBar::discardClicked);
    hide();
}

void RecoverBar::offer(const QString& fileName, qint64 written) {
    const QString when =
        QLocale().toString(QDateTime::fromSecsSinceEpoch(written), QLocale::ShortFormat);
    m_text->setText(
        QStringLiteral("Unsaved text of %1, kept %2 when Talmo last stopped.").arg(fileName, when));
    show();
}

} // namespace talmo
