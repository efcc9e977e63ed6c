// SPDX-License-Identifier: GPL-3.0-or-later
// A list of messages that point into files (compiler errors and warnings,
// definitions, usages), shown under the editor: a header line, then one
// entry a message. Activating an entry (double click, Enter) asks for its
// file at its line. The list itself has the objectName "qccmessages"; the
// button that closes it "qccmessagesclose".
#pragma once

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QListWidget;
class QListWidgetItem;

namespace talmo {

struct ListedMessage {
    QString kind;   // shown first: "error", "warning", "definition", "usage"
    QString file;   // as the source wrote it, resolved against the list's base directory
    int line = 0;   // 1-based
    int column = 0; // 1-based; 0 when unknown
    QString text;
};

class MessageList : public QWidget {
    Q_OBJECT
public:
    explicit MessageList(QWidget* parent = nullptr);

    // Fills the list (header line first) and shows it; an empty `messages`
    // with a header still shows the header (e.g. "no errors").
    void showMessages(const QString& header, const QString& baseDirectory,
                      const std::vector<ListedMessage>& messages);
    const std::vector<ListedMessage>& messages() const { return m_messages; }
    // The absolute path of an entry's file (file resolved against the base
    // directory).
    QString absolutePath(const ListedMessage& message) const;
    // Selects the next / previous entry (wrapping; the first / last when none
    // is selected) and returns it; nullopt when the list has no entry.
    std::optional<ListedMessage> next();
    std::optional<ListedMessage> previous();

signals:
    void messageActivated(const talmo::ListedMessage& message, const QString& absolutePath);

private:
    std::optional<ListedMessage> step(int delta);
    // The message of a list row; nullopt for the header.
    std::optional<ListedMessage> messageOfRow(int row) const;

    QListWidget* m_list = nullptr;
    QString m_base;
    std::vector<ListedMessage> m_messages;
};

} // namespace talmo
