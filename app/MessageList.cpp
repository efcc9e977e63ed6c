// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageList.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace talmo {

namespace {

QString entryText(const ListedMessage& m) {
    QString place = m.file + QLatin1Char(':') + QString::number(m.line);
    if (m.column > 0)
        place += QLatin1Char(':') + QString::number(m.column);
    return m.kind + QStringLiteral("  ") + place + QStringLiteral("  ") + m.text;
}

} // namespace

MessageList::MessageList(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("messagelist"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QHBoxLayout;
    auto* title = new QLabel(QStringLiteral("Messages (F4 next, Shift+F4 previous)"));
    auto* close = new QToolButton;
    close->setObjectName(QStringLiteral("qccmessagesclose"));
    close->setText(QStringLiteral("x"));
    close->setToolTip(QStringLiteral("Close the message list"));
    close->setAutoRaise(true);
    bar->addWidget(title, 1);
    bar->addWidget(close);
    layout->addLayout(bar);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("qccmessages"));
    m_list->setFont(QFont(QStringLiteral("Monospace")));
    layout->addWidget(m_list, 1);

    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (const std::optional<ListedMessage> m = messageOfRow(m_list->row(item)))
            emit messageActivated(*m, absolutePath(*m));
    });
    hide();
}

void MessageList::showMessages(const QString& header, const QString& baseDirectory,
                               const std::vector<ListedMessage>& messages) {
    m_base = baseDirectory;
    m_messages = messages;
    m_list->clear();
    auto* head = new QListWidgetItem(header, m_list);
    // The header is no message: it cannot be selected or activated.
    head->setFlags(Qt::ItemIsEnabled);
    QFont bold = m_list->font();
    bold.setBold(true);
    head->setFont(bold);
    for (const ListedMessage& m : m_messages)
        new QListWidgetItem(entryText(m), m_list);
    m_list->setCurrentRow(-1);
    show();
}

QString MessageList::absolutePath(const ListedMessage& message) const {
    return QDir::cleanPath(QDir(m_base).absoluteFilePath(message.file));
}

std::optional<ListedMessage> MessageList::next() {
    return step(1);
}

std::optional<ListedMessage> MessageList::previous() {
    return step(-1);
}

std::optional<ListedMessage> MessageList::step(int delta) {
    const int count = static_cast<int>(m_messages.size());
    if (count == 0)
        return std::nullopt;
    // Entries are rows 1..count; row 0 is the header.
    const int current = m_list->currentRow() - 1;
    int index = 0;
    if (current < 0 || current >= count)
        index = delta > 0 ? 0 : count - 1;
    else
        index = (current + delta + count) % count;
    m_list->setCurrentRow(index + 1);
    return m_messages[static_cast<std::size_t>(index)];
}

std::optional<ListedMessage> MessageList::messageOfRow(int row) const {
    if (row < 1 || row > static_cast<int>(m_messages.size()))
        return std::nullopt;
    return m_messages[static_cast<std::size_t>(row - 1)];
}

} // namespace talmo
