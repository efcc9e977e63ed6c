// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageList.h"

#include "TextBytes.h"

#include <QAbstractListModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QToolButton>
#include <QVBoxLayout>

namespace talmo {

// The header, then the messages; a row's text is made when it is shown.
class MessageModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    QString header;
    std::vector<ListedMessage> messages;
    QFont headerFont;

    void reset(const QString& newHeader, std::vector<ListedMessage> newMessages) {
        beginResetModel();
        header = newHeader;
        messages = std::move(newMessages);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : 1 + static_cast<int>(messages.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const int row = index.row();
        if (role == Qt::DisplayRole)
            return row == 0 ? header
                            : messageEntryText(messages[static_cast<std::size_t>(row - 1)]);
        if (role == Qt::FontRole && row == 0)
            return headerFont;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        // The header is no message: it cannot be selected or activated.
        return index.row() == 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }
};

QString messageKindName(ListedMessage::Kind kind) {
    switch (kind) {
    case ListedMessage::Kind::Error:
        return QStringLiteral("error");
    case ListedMessage::Kind::Warning:
        return QStringLiteral("warning");
    case ListedMessage::Kind::Definition:
        return QStringLiteral("definition");
    case ListedMessage::Kind::Usage:
        return QStringLiteral("usage");
    }
    return {};
}

QString messageEntryText(const ListedMessage& m) {
    const QString kind = messageKindName(m.kind) + QStringLiteral("  ");
    // A message without a place is shown, but leads nowhere.
    if (m.line <= 0)
        return kind + textOfBytes(m.text);
    QString place = fileNameText(m.file) + QLatin1Char(':') + QString::number(m.line);
    if (m.column > 0)
        place += QLatin1Char(':') + QString::number(m.column);
    return kind + place + QStringLiteral("  ") + textOfBytes(m.text);
}

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

    m_list = new QListView;
    m_list->setObjectName(QStringLiteral("qccmessages"));
    m_list->setFont(QFont(QStringLiteral("Monospace")));
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_model = new MessageModel(this);
    m_model->headerFont = m_list->font();
    m_model->headerFont.setBold(true);
    m_list->setModel(m_model);
    layout->addWidget(m_list, 1);

    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    connect(m_list, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        const int row = index.row();
        if (row < 1 || row > static_cast<int>(m_model->messages.size()))
            return;
        const ListedMessage& m = m_model->messages[static_cast<std::size_t>(row - 1)];
        emit messageActivated(m, absolutePath(m));
    });
    hide();
}

MessageList::~MessageList() = default;

void MessageList::showMessages(const QString& header, const QString& baseDirectory,
                               std::vector<ListedMessage> messages) {
    m_base = baseDirectory;
    m_model->reset(header, std::move(messages));
    m_list->setCurrentIndex({});
    m_list->scrollToTop();
    show();
}

const std::vector<ListedMessage>& MessageList::messages() const {
    return m_model->messages;
}

std::filesystem::path MessageList::absolutePath(const ListedMessage& message) const {
    return (localPath(m_base) / message.file).lexically_normal();
}

void MessageList::activateNext() {
    activate(step(1));
}

void MessageList::activatePrevious() {
    activate(step(-1));
}

void MessageList::activate(const std::optional<ListedMessage>& message) {
    if (message)
        emit messageActivated(*message, absolutePath(*message));
}

std::optional<ListedMessage> MessageList::step(int delta) {
    const int count = static_cast<int>(m_model->messages.size());
    if (count == 0)
        return std::nullopt;
    // Entries are rows 1..count; row 0 is the header.
    const int current = m_list->currentIndex().isValid() ? m_list->currentIndex().row() - 1 : -1;
    int index = 0;
    if (current < 0 || current >= count)
        index = delta > 0 ? 0 : count - 1;
    else
        index = (current + delta + count) % count;
    m_list->setCurrentIndex(m_model->index(index + 1));
    return m_model->messages[static_cast<std::size_t>(index)];
}

} // namespace talmo
