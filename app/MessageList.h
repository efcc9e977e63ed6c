// SPDX-License-Identifier: GPL-3.0-or-later
// A list of messages that point into files (compiler errors and warnings,
// definitions, usages), shown under the editor: a header line, then one
// entry a message. Activating an entry (double click, Enter) asks for its
// file at its line. The list itself has the objectName "qccmessages"; the
// button that closes it "qccmessagesclose".
//
// The list is a view over the messages as given, with rows of one height:
// filling it is one step whatever the number of messages, and only the rows
// on screen are ever turned into text.
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QListView;
class QModelIndex;

namespace talmo {

class MessageModel;

struct ListedMessage {
    enum class Kind : std::uint8_t { Error, Warning, Definition, Usage };
    Kind kind = Kind::Error;
    // As the system names it, resolved against the list's base directory;
    // empty for a message without a place.
    std::filesystem::path file;
    int line = 0;     // 1-based; 0 for a message without a place, which leads nowhere
    int column = 0;   // 1-based; 0 when unknown
    std::string text; // 8-bit text
};

// "error", "warning", "definition", "usage": the word an entry starts with.
QString messageKindName(ListedMessage::Kind kind);

// An entry as the list shows it: "kind  file:line[:column]  text", or
// "kind  text" for a message without a place.
QString messageEntryText(const ListedMessage& message);

class MessageList : public QWidget {
    Q_OBJECT
public:
    explicit MessageList(QWidget* parent = nullptr);
    ~MessageList() override;

    // Fills the list (header line first) and shows it; an empty `messages`
    // with a header still shows the header (e.g. "no errors").
    void showMessages(const QString& header, const QString& baseDirectory,
                      std::vector<ListedMessage> messages);
    const std::vector<ListedMessage>& messages() const;
    // The absolute path of an entry's file (file resolved against the base
    // directory).
    std::filesystem::path absolutePath(const ListedMessage& message) const;
    // Selects the next / previous entry (wrapping; the first / last when none
    // is selected) and activates it; nothing when the list has no entry.
    void activateNext();
    void activatePrevious();

signals:
    void messageActivated(const talmo::ListedMessage& message,
                          const std::filesystem::path& absolutePath);

private:
    std::optional<ListedMessage> step(int delta);
    void activate(const std::optional<ListedMessage>& message);

    QListView* m_list = nullptr;
    MessageModel* m_model = nullptr;
    QString m_base;
};

} // namespace talmo
