// SPDX-License-Identifier: GPL-3.0-or-later
// The language server's answers: one JSON-RPC message in, the messages it
// sends back out through `send`. The documents the client holds open stand
// for their files; everything else is read from the workspace folder, the
// mod, through its definition index.
#pragma once

#include "CompilerMessages.h"
#include "Completion.h"
#include "DefinitionIndex.h"
#include "TextPositions.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace talmo {

class LanguageServer {
public:
    using Send = std::function<void(const QByteArray& body)>;
    // Runs a function on the thread that calls handle(), between messages:
    // the compile on save runs on a thread of its own and hands its messages
    // back through it, so requests are answered while the compiler runs.
    using Post = std::function<void(std::function<void()>)>;
    LanguageServer(Send send, LanguageWords words, Post post);
    // Waits for a compile under way (its scratch copy is removed by then).
    ~LanguageServer();

    // One message's body, as framed by the client. Anything that is not a
    // well-formed message is answered with the protocol's error.
    void handle(const QByteArray& body);
    // Whether "exit" came, and the process's status then.
    bool exited() const { return m_exitCode.has_value(); }
    int exitCode() const { return m_exitCode.value_or(1); }
    // An error of the framing itself (no Content-Length).
    void framingError(const QString& message);

private:
    struct Document {
        std::string text; // the bytes of the file
        std::string name; // the file's name in the index; empty outside the mod
    };

    void reply(const QJsonValue& id, const QJsonValue& result);
    void replyError(const QJsonValue& id, int code, const QString& message);
    void notify(const QString& method, const QJsonValue& params);

    QJsonValue request(const QString& method, const QJsonObject& params);
    void notification(const QString& method, const QJsonObject& params);

    QJsonObject initialize(const QJsonObject& params);
    void openRoot(const std::filesystem::path& root);

    // The text a request is about: the open document or the file on disk;
    // nullopt outside the mod, for a file that does not read or holds NUL
    // bytes (no source).
    std::optional<Document> documentOf(const QJsonObject& params);
    std::optional<std::size_t> offsetIn(const Document& document, const QJsonObject& params) const;
    // The text of a file of the mod, for positions in it.
    const std::string* textOfFile(const std::string& name);

    QJsonObject location(const std::string& file, int line, int column, std::size_t length);
    QJsonValue definition(const QJsonObject& params);
    QJsonValue references(const QJsonObject& params);
    QJsonValue hover(const QJsonObject& params);
    QJsonValue documentSymbol(const QJsonObject& params);
    QJsonValue workspaceSymbol(const QJsonObject& params);
    QJsonValue completion(const QJsonObject& params);
    QJsonValue signatureHelp(const QJsonObject& params);

    void didOpen(const QJsonObject& params);
    void didChange(const QJsonObject& params);
    void didClose(const QJsonObject& params);
    void didSave(const QJsonObject& params);
    // Compiles the mod with the open documents' texts, off this thread; a
    // save during a compile compiles again once it ends, and only the newest
    // compile's messages are published.
    void publishDiagnostics();
    void compiled(const std::string& compiler, const std::vector<CompilerMessage>& messages);

    std::optional<std::string> nameOfUri(const QString& uri) const;
    QString uriOf(const std::string& name) const;

    Send m_send;
    Post m_post;
    std::thread m_compile;
    bool m_compileAgain = false; // a save came while the compiler ran
    LanguageWords m_words;
    PositionEncoding m_encoding = PositionEncoding::Utf16;
    bool m_initialized = false;
    bool m_shutdown = false;
    std::optional<int> m_exitCode;
    std::filesystem::path m_root;
    std::optional<DefinitionIndex> m_index;
    std::map<QString, Document> m_open;             // by URI
    std::map<std::string, std::string> m_filesRead; // for one request's positions
    std::set<QString> m_diagnosed;                  // URIs that have diagnostics published
};

} // namespace talmo
