// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguageServer.h"

#include "Cp1252.h"
#include "DefinitionScan.h"
#include "NameAt.h"
#include "PathBytes.h"
#include "ScratchCompile.h"
#include "Text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>
#include <utility>

namespace fs = std::filesystem;

namespace talmo {

namespace {

// JSON-RPC's and the protocol's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kServerNotInitialized = -32002;

constexpr std::size_t kMaxSymbols = 1000;
constexpr std::size_t kMaxCompletions = 200;

// 8-bit text as a JSON string, one character per byte.
QString textOf(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes)
        *out++ = QChar(unicodeOfByte(static_cast<unsigned char>(b)));
    return text;
}

// The byte of a character; '?' for one that has none.
char byteOf(char16_t c) {
    if (c < 0x100) // itself, unless Windows-1252 puts another character there
        return unicodeOfByte(static_cast<unsigned char>(c)) == c ? static_cast<char>(c) : '?';
    for (int b = 0x80; b < 0xA0; ++b)
        if (unicodeOfByte(static_cast<unsigned char>(b)) == c)
            return static_cast<char>(b);
    return '?';
}

// A client's text as bytes: a character without a byte becomes "?" (a
// surrogate pair two of them, so that UTF-16 places stay where they were).
std::string bytesOf(const QString& text) {
    std::string bytes(static_cast<std::size_t>(text.size()), '?');
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes[static_cast<std::size_t>(i)] = byteOf(text[i].unicode());
    return bytes;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The path of a "file:" URI, its percent-escapes undone to bytes.
std::optional<fs::path> pathOfUri(const QString& uri) {
    const QByteArray bytes = uri.toUtf8();
    if (!bytes.startsWith("file://"))
        return std::nullopt;
    std::string path;
    for (qsizetype i = 7; i < bytes.size(); ++i) {
        if (bytes[i] == '%' && i + 2 < bytes.size() && hexValue(bytes[i + 1]) >= 0 &&
            hexValue(bytes[i + 2]) >= 0) {
            path += static_cast<char>(hexValue(bytes[i + 1]) * 16 + hexValue(bytes[i + 2]));
            i += 2;
        } else {
            path += bytes[i];
        }
    }
#ifdef _WIN32
    if (path.size() > 2 && path[0] == '/' && path[2] == ':')
        path.erase(0, 1);
#endif
    if (path.empty() || path.find('\0') != std::string::npos)
        return std::nullopt;
    return pathOfBytes(path);
}

QString uriOfPath(const fs::path& path) {
    const std::string bytes = genericPathBytes(path);
    QString uri = QStringLiteral("file://");
#ifdef _WIN32
    uri += QLatin1Char('/');
#endif
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
            std::string_view("-._~/").find(c) != std::string_view::npos)
            uri += QLatin1Char(c);
        else
            uri += QStringLiteral("%%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
    }
    return uri;
}

QJsonObject position(TextPosition p) {
    return {{QStringLiteral("line"), p.line}, {QStringLiteral("character"), p.character}};
}

TextPosition positionParam(const QJsonValue& value) {
    const QJsonObject p = value.toObject();
    return {p.value(QStringLiteral("line")).toInt(-1),
            p.value(QStringLiteral("character")).toInt(0)};
}

// The protocol's SymbolKind of a definition.
int symbolKind(DefinitionKind kind) {
    switch (kind) {
    case DefinitionKind::Prototype:
    case DefinitionKind::Function:
    case DefinitionKind::Builtin:
        return 12; // Function
    case DefinitionKind::Field:
        return 8; // Field
    case DefinitionKind::Global:
        return 13; // Variable
    case DefinitionKind::Constant:
        return 14; // Constant
    case DefinitionKind::Frame:
        return 22; // EnumMember
    case DefinitionKind::Type:
        return 5; // Class
    }
    return 13;
}

// The protocol's CompletionItemKind of an item.
int completionKind(const CompletionItem& item) {
    switch (item.kind) {
    case CompletionKind::Builtin:
        return 3; // Function
    case CompletionKind::Keyword:
        return 14; // Keyword
    case CompletionKind::ConsoleName:
        return 1; // Text
    case CompletionKind::Definition:
        break;
    }
    switch (item.definitionKind) {
    case DefinitionKind::Prototype:
    case DefinitionKind::Function:
    case DefinitionKind::Builtin:
        return 3;
    case DefinitionKind::Field:
        return 5;
    case DefinitionKind::Global:
        return 6;
    case DefinitionKind::Constant:
        return 21;
    case DefinitionKind::Frame:
        return 20;
    case DefinitionKind::Type:
        return 7;
    }
    return 6;
}

// The parameters of a prototype line: the words between the "(" of its type
// and the matching ")", split at its commas.
std::vector<std::string> parametersOf(std::string_view line) {
    std::vector<std::string> parameters;
    const std::size_t open = line.find('(');
    if (open == std::string_view::npos)
        return parameters;
    int depth = 0;
    std::size_t start = open + 1;
    for (std::size_t i = open + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '(')
            ++depth;
        else if ((c == ')' && depth == 0) || (c == ',' && depth == 0)) {
            const std::string_view p = trimBlanks(line.substr(start, i - start));
            if (!p.empty())
                parameters.emplace_back(p);
            if (c == ')')
                break;
            start = i + 1;
        } else if (c == ')')
            --depth;
    }
    return parameters;
}

// Whether a request's parameters have the parts its method reads: a
// document's URI for the textDocument/ ones, a place for those at a place.
bool wellFormed(const QString& method, const QJsonObject& params) {
    if (!method.startsWith(QLatin1String("textDocument/")))
        return true;
    if (!params.value(QStringLiteral("textDocument"))
             .toObject()
             .value(QStringLiteral("uri"))
             .isString())
        return false;
    if (method == QLatin1String("textDocument/documentSymbol"))
        return true;
    const QJsonObject p = params.value(QStringLiteral("position")).toObject();
    return p.value(QStringLiteral("line")).isDouble() &&
           p.value(QStringLiteral("character")).isDouble();
}

} // namespace

LanguageServer::LanguageServer(Send send, LanguageWords words, Post post)
    : m_send(std::move(send)), m_post(std::move(post)), m_words(std::move(words)) {}

LanguageServer::~LanguageServer() {
    if (m_compile.joinable())
        m_compile.join();
}

void LanguageServer::reply(const QJsonValue& id, const QJsonValue& result) {
    m_send(QJsonDocument(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                                     {QStringLiteral("id"), id},
                                     {QStringLiteral("result"), result}})
               .toJson(QJsonDocument::Compact));
}

void LanguageServer::replyError(const QJsonValue& id, int code, const QString& message) {
    m_send(QJsonDocument(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                                     {QStringLiteral("id"), id},
                                     {QStringLiteral("error"),
                                      QJsonObject{{QStringLiteral("code"), code},
                                                  {QStringLiteral("message"), message}}}})
               .toJson(QJsonDocument::Compact));
}

void LanguageServer::notify(const QString& method, const QJsonValue& params) {
    m_send(QJsonDocument(QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                                     {QStringLiteral("method"), method},
                                     {QStringLiteral("params"), params}})
               .toJson(QJsonDocument::Compact));
}

void LanguageServer::framingError(const QString& message) {
    replyError(QJsonValue::Null, kParseError, message);
}

void LanguageServer::handle(const QByteArray& body) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        replyError(QJsonValue::Null, kParseError, error.errorString());
        return;
    }
    const QJsonObject message = document.object();
    const QJsonValue id = message.value(QStringLiteral("id"));
    const QJsonValue method = message.value(QStringLiteral("method"));
    if (!document.isObject() || !method.isString() ||
        !(message.value(QStringLiteral("params")).isObject() ||
          message.value(QStringLiteral("params")).isArray() ||
          message.value(QStringLiteral("params")).isNull() ||
          message.value(QStringLiteral("params")).isUndefined())) {
        // A response to a request of ours (none is made) is let be.
        if (!message.contains(QStringLiteral("result")) &&
            !message.contains(QStringLiteral("error")))
            replyError(id.isString() || id.isDouble() ? id : QJsonValue(QJsonValue::Null),
                       kInvalidRequest, QStringLiteral("not a request"));
        return;
    }
    const QJsonObject params = message.value(QStringLiteral("params")).toObject();
    m_filesRead.clear();
    if (!message.contains(QStringLiteral("id"))) {
        notification(method.toString(), params);
        return;
    }
    if (!id.isString() && !id.isDouble()) {
        replyError(QJsonValue::Null, kInvalidRequest, QStringLiteral("bad id"));
        return;
    }
    const QString name = method.toString();
    if (name == QLatin1String("initialize")) {
        if (m_initialized)
            replyError(id, kInvalidRequest, QStringLiteral("already initialized"));
        else
            reply(id, initialize(params));
        return;
    }
    if (!m_initialized) {
        replyError(id, kServerNotInitialized, QStringLiteral("not initialized"));
        return;
    }
    if (m_shutdown) {
        replyError(id, kInvalidRequest, QStringLiteral("shut down"));
        return;
    }
    if (name == QLatin1String("shutdown")) {
        m_shutdown = true;
        reply(id, QJsonValue::Null);
        return;
    }
    if (!wellFormed(name, params)) {
        replyError(id, kInvalidParams, QStringLiteral("missing or malformed parameters"));
        return;
    }
    if (m_index)
        m_index->refreshChanged();
    const QJsonValue result = request(name, params);
    if (result.isUndefined())
        replyError(id, kMethodNotFound, QStringLiteral("unknown method ") + name);
    else
        reply(id, result);
}

QJsonValue LanguageServer::request(const QString& method, const QJsonObject& params) {
    if (method == QLatin1String("textDocument/definition"))
        return definition(params);
    if (method == QLatin1String("textDocument/references"))
        return references(params);
    if (method == QLatin1String("textDocument/hover"))
        return hover(params);
    if (method == QLatin1String("textDocument/documentSymbol"))
        return documentSymbol(params);
    if (method == QLatin1String("workspace/symbol"))
        return workspaceSymbol(params);
    if (method == QLatin1String("textDocument/completion"))
        return completion(params);
    if (method == QLatin1String("textDocument/signatureHelp"))
        return signatureHelp(params);
    return QJsonValue(QJsonValue::Undefined);
}

void LanguageServer::notification(const QString& method, const QJsonObject& params) {
    if (method == QLatin1String("exit")) {
        m_exitCode = m_shutdown ? 0 : 1;
        return;
    }
    if (!m_initialized || m_shutdown)
        return;
    if (method == QLatin1String("textDocument/didOpen"))
        didOpen(params);
    else if (method == QLatin1String("textDocument/didChange"))
        didChange(params);
    else if (method == QLatin1String("textDocument/didClose"))
        didClose(params);
    else if (method == QLatin1String("textDocument/didSave"))
        didSave(params);
}

QJsonObject LanguageServer::initialize(const QJsonObject& params) {
    const QJsonArray encodings = params.value(QStringLiteral("capabilities"))
                                     .toObject()
                                     .value(QStringLiteral("general"))
                                     .toObject()
                                     .value(QStringLiteral("positionEncodings"))
                                     .toArray();
    m_encoding = encodings.contains(QStringLiteral("utf-8")) ? PositionEncoding::Utf8
                                                             : PositionEncoding::Utf16;
    std::optional<fs::path> root;
    const QJsonArray folders = params.value(QStringLiteral("workspaceFolders")).toArray();
    if (!folders.isEmpty())
        root = pathOfUri(folders.first().toObject().value(QStringLiteral("uri")).toString());
    if (!root)
        root = pathOfUri(params.value(QStringLiteral("rootUri")).toString());
    if (!root && params.value(QStringLiteral("rootPath")).isString())
        root = fs::path(params.value(QStringLiteral("rootPath")).toString().toStdString());
    std::error_code error;
    openRoot(root ? *root : fs::current_path(error));
    m_initialized = true;

    const QJsonObject sync{{QStringLiteral("openClose"), true},
                           {QStringLiteral("change"), 2}, // incremental
                           {QStringLiteral("save"), true}};
    const QJsonObject capabilities{
        {QStringLiteral("positionEncoding"),
         m_encoding == PositionEncoding::Utf8 ? QStringLiteral("utf-8") : QStringLiteral("utf-16")},
        {QStringLiteral("textDocumentSync"), sync},
        {QStringLiteral("definitionProvider"), true},
        {QStringLiteral("referencesProvider"), true},
        {QStringLiteral("hoverProvider"), true},
        {QStringLiteral("documentSymbolProvider"), true},
        {QStringLiteral("workspaceSymbolProvider"), true},
        {QStringLiteral("completionProvider"),
         QJsonObject{{QStringLiteral("triggerCharacters"), QJsonArray{QStringLiteral(".")}}}},
        {QStringLiteral("signatureHelpProvider"),
         QJsonObject{{QStringLiteral("triggerCharacters"),
                      QJsonArray{QStringLiteral("("), QStringLiteral(",")}}}}};
    return {{QStringLiteral("capabilities"), capabilities},
            {QStringLiteral("serverInfo"),
             QJsonObject{{QStringLiteral("name"), QStringLiteral("talmo-lsp")}}}};
}

void LanguageServer::openRoot(const fs::path& root) {
    std::error_code error;
    m_root = fs::absolute(root, error).lexically_normal();
    if (!m_root.has_filename() && m_root.has_parent_path() && m_root != m_root.root_path())
        m_root = m_root.parent_path();
    m_index = DefinitionIndex::build(m_root);
}

std::optional<std::string> LanguageServer::nameOfUri(const QString& uri) const {
    const std::optional<fs::path> path = pathOfUri(uri);
    if (!path || m_root.empty())
        return std::nullopt;
    return modFileName(*path, m_root);
}

QString LanguageServer::uriOf(const std::string& name) const {
    return uriOfPath(m_root / pathOfBytes(name));
}

std::optional<LanguageServer::Document> LanguageServer::documentOf(const QJsonObject& params) {
    const QString uri = params.value(QStringLiteral("textDocument"))
                            .toObject()
                            .value(QStringLiteral("uri"))
                            .toString();
    const std::optional<std::string> name = nameOfUri(uri);
    if (!name)
        return std::nullopt;
    Document document;
    if (const auto open = m_open.find(uri); open != m_open.end()) {
        document = open->second;
    } else {
        const std::string* text = textOfFile(*name);
        if (!text)
            return std::nullopt;
        document = {*text, *name};
    }
    if (document.text.find('\0') != std::string::npos)
        return std::nullopt;
    return document;
}

const std::string* LanguageServer::textOfFile(const std::string& name) {
    if (const auto it = m_filesRead.find(name); it != m_filesRead.end())
        return &it->second;
    for (const auto& [uri, document] : m_open)
        if (document.name == name)
            return &m_filesRead.emplace(name, document.text).first->second;
    std::string text;
    try {
        readFileBytesInto(m_root / pathOfBytes(name), text, kMaxSourceBytes);
    } catch (const std::exception&) {
        return nullptr;
    }
    return &m_filesRead.emplace(name, std::move(text)).first->second;
}

std::optional<std::size_t> LanguageServer::offsetIn(const Document& document,
                                                    const QJsonObject& params) const {
    const TextPosition p = positionParam(params.value(QStringLiteral("position")));
    if (p.line < 0 || p.character < 0)
        return std::nullopt;
    return TextLines(document.text).offsetOf(p, m_encoding);
}

QJsonObject LanguageServer::location(const std::string& file, int line, int column,
                                     std::size_t length) {
    int start = column;
    int end = column + static_cast<int>(length);
    if (m_encoding == PositionEncoding::Utf8) {
        if (const std::string* text = textOfFile(file)) {
            const TextLines lines(*text);
            const std::size_t at = lines.offsetOf({line - 1, 0}, PositionEncoding::Utf16) +
                                   static_cast<std::size_t>(column);
            start = lines.positionOf(at, m_encoding).character;
            end = lines.positionOf(at + length, m_encoding).character;
        }
    }
    return {{QStringLiteral("uri"), uriOf(file)},
            {QStringLiteral("range"),
             QJsonObject{{QStringLiteral("start"), position({line - 1, start})},
                         {QStringLiteral("end"), position({line - 1, end})}}}};
}

QJsonValue LanguageServer::definition(const QJsonObject& params) {
    const std::optional<Document> document = documentOf(params);
    const std::optional<std::size_t> offset = document ? offsetIn(*document, params) : std::nullopt;
    const std::optional<NameAt> name =
        offset ? nameAtOffset(document->text, *offset) : std::nullopt;
    QJsonArray found;
    if (!name || !m_index)
        return found;
    std::vector<ModDefinition> targets;
    if (name->afterDollar) {
        if (auto frame = m_index->frameDefinitionAt(name->name, document->name, name->start))
            targets.push_back(std::move(*frame));
    } else {
        targets = jumpTargets(m_index->definitionsOf(name->name), name->afterDot);
    }
    for (const ModDefinition& d : targets)
        found.append(
            location(d.file, d.definition.line, d.definition.column, d.definition.name.size()));
    return found;
}

QJsonValue LanguageServer::references(const QJsonObject& params) {
    const std::optional<Document> document = documentOf(params);
    const std::optional<std::size_t> offset = document ? offsetIn(*document, params) : std::nullopt;
    const std::optional<NameAt> name =
        offset ? nameAtOffset(document->text, *offset) : std::nullopt;
    QJsonArray found;
    if (!name || !m_index)
        return found;
    const std::vector<ModUsage> usages =
        name->afterDollar ? m_index->frameUsagesAt(name->name, document->name, name->start)
                          : m_index->usagesOf(name->name);
    for (const ModUsage& u : usages)
        found.append(location(u.file, u.line, u.column, name->name.size()));
    return found;
}

QJsonValue LanguageServer::hover(const QJsonObject& params) {
    const std::optional<Document> document = documentOf(params);
    const std::optional<std::size_t> offset = document ? offsetIn(*document, params) : std::nullopt;
    const std::optional<NameAt> name =
        offset ? nameAtOffset(document->text, *offset) : std::nullopt;
    if (!name || !m_index)
        return QJsonValue::Null;
    std::vector<ModDefinition> targets;
    if (name->afterDollar) {
        if (auto frame = m_index->frameDefinitionAt(name->name, document->name, name->start))
            targets.push_back(std::move(*frame));
    } else {
        targets = jumpTargets(m_index->definitionsOf(name->name), name->afterDot);
    }
    QStringList lines;
    for (const ModDefinition& d : targets)
        lines << textOf(d.file) + QLatin1Char(':') + QString::number(d.definition.line) +
                     QStringLiteral("  ") + textOf(trimBlanks(d.lineText));
    if (lines.isEmpty() && !name->afterDot)
        for (const LanguageWords::Word& w : m_words.builtins)
            if (w.name == name->name)
                lines << textOf(w.line);
    if (lines.isEmpty())
        return QJsonValue::Null;
    const TextLines text(document->text);
    return QJsonObject{
        {QStringLiteral("contents"),
         QJsonObject{{QStringLiteral("kind"), QStringLiteral("plaintext")},
                     {QStringLiteral("value"), lines.join(QLatin1Char('\n'))}}},
        {QStringLiteral("range"),
         QJsonObject{{QStringLiteral("start"), position(text.positionOf(name->start, m_encoding))},
                     {QStringLiteral("end"),
                      position(text.positionOf(name->start + name->name.size(), m_encoding))}}}};
}

QJsonValue LanguageServer::documentSymbol(const QJsonObject& params) {
    const std::optional<Document> document = documentOf(params);
    QJsonArray symbols;
    if (!document)
        return symbols;
    const TextLines text(document->text);
    for (const Definition& d : scanDefinitions(document->text)) {
        const QJsonObject range{
            {QStringLiteral("start"), position(text.positionOf(d.offset, m_encoding))},
            {QStringLiteral("end"),
             position(text.positionOf(d.offset + d.name.size(), m_encoding))}};
        symbols.append(QJsonObject{{QStringLiteral("name"), textOf(d.name)},
                                   {QStringLiteral("detail"), textOf(definitionKindName(d.kind))},
                                   {QStringLiteral("kind"), symbolKind(d.kind)},
                                   {QStringLiteral("range"), range},
                                   {QStringLiteral("selectionRange"), range}});
    }
    return symbols;
}

QJsonValue LanguageServer::workspaceSymbol(const QJsonObject& params) {
    const std::string query = bytesOf(params.value(QStringLiteral("query")).toString());
    QJsonArray symbols;
    if (!m_index)
        return symbols;
    auto containsNoCase = [&query](const Definition& d) {
        const std::string_view name = d.name;
        for (std::size_t at = 0; at + query.size() <= name.size(); ++at)
            if (startsWithNoCase(name.substr(at), query))
                return true;
        return false;
    };
    for (const ModDefinition& d : m_index->definitionsWhere(containsNoCase, kMaxSymbols))
        symbols.append(QJsonObject{
            {QStringLiteral("name"), textOf(d.definition.name)},
            {QStringLiteral("kind"), symbolKind(d.definition.kind)},
            {QStringLiteral("location"),
             location(d.file, d.definition.line, d.definition.column, d.definition.name.size())}});
    return symbols;
}

QJsonValue LanguageServer::completion(const QJsonObject& params) {
    const std::optional<Document> document = documentOf(params);
    const std::optional<std::size_t> offset = document ? offsetIn(*document, params) : std::nullopt;
    QJsonArray items;
    if (!offset || !m_index)
        return QJsonObject{{QStringLiteral("isIncomplete"), false},
                           {QStringLiteral("items"), items}};
    const NameAt typed = typedPrefix(document->text, *offset);
    // One more than is sent tells whether the list is complete.
    const std::vector<CompletionItem> found =
        completionsIn(*m_index, typed, m_words, kMaxCompletions + 1);
    for (std::size_t i = 0; i < found.size() && i < kMaxCompletions; ++i) {
        const CompletionItem& item = found[i];
        QJsonObject json{{QStringLiteral("label"), textOf(item.name)},
                         {QStringLiteral("kind"), completionKind(item)},
                         {QStringLiteral("detail"), textOf(trimBlanks(item.lineText))}};
        if (!item.file.empty())
            json.insert(QStringLiteral("documentation"),
                        textOf(item.file) + QLatin1Char(':') + QString::number(item.line));
        items.append(json);
    }
    return QJsonObject{{QStringLiteral("isIncomplete"), found.size() > kMaxCompletions},
                       {QStringLiteral("items"), items}};
}

QJsonValue LanguageServer::signatureHelp(const QJsonObject& params) {
    const std::optional<Document> document = documentOf(params);
    const std::optional<std::size_t> offset = document ? offsetIn(*document, params) : std::nullopt;
    const std::optional<CallAt> call =
        offset ? callAtOffset(document->text, *offset) : std::nullopt;
    if (!call || !m_index)
        return QJsonValue::Null;
    const std::string prototype = prototypeOf(*m_index, call->function, m_words);
    if (prototype.empty())
        return QJsonValue::Null;
    QJsonArray parameters;
    for (const std::string& p : parametersOf(prototype))
        parameters.append(QJsonObject{{QStringLiteral("label"), textOf(p)}});
    return QJsonObject{{QStringLiteral("signatures"),
                        QJsonArray{QJsonObject{{QStringLiteral("label"), textOf(prototype)},
                                               {QStringLiteral("parameters"), parameters}}}},
                       {QStringLiteral("activeSignature"), 0},
                       {QStringLiteral("activeParameter"), call->argument}};
}

void LanguageServer::didOpen(const QJsonObject& params) {
    const QJsonObject item = params.value(QStringLiteral("textDocument")).toObject();
    const QString uri = item.value(QStringLiteral("uri")).toString();
    Document document{bytesOf(item.value(QStringLiteral("text")).toString()),
                      nameOfUri(uri).value_or(std::string())};
    if (!document.name.empty() && m_index)
        m_index->setOpenText(document.name, document.text);
    m_open[uri] = std::move(document);
}

void LanguageServer::didChange(const QJsonObject& params) {
    const QString uri = params.value(QStringLiteral("textDocument"))
                            .toObject()
                            .value(QStringLiteral("uri"))
                            .toString();
    const auto open = m_open.find(uri);
    if (open == m_open.end())
        return;
    Document& document = open->second;
    for (const QJsonValue& change : params.value(QStringLiteral("contentChanges")).toArray()) {
        const QJsonObject c = change.toObject();
        const std::string text = bytesOf(c.value(QStringLiteral("text")).toString());
        if (!c.contains(QStringLiteral("range"))) {
            document.text = text;
            continue;
        }
        const QJsonObject range = c.value(QStringLiteral("range")).toObject();
        const TextLines lines(document.text);
        const std::size_t start =
            lines.offsetOf(positionParam(range.value(QStringLiteral("start"))), m_encoding);
        const std::size_t end = std::max(
            start, lines.offsetOf(positionParam(range.value(QStringLiteral("end"))), m_encoding));
        document.text.replace(start, end - start, text);
    }
    if (!document.name.empty() && m_index)
        m_index->setOpenText(document.name, document.text);
}

void LanguageServer::didClose(const QJsonObject& params) {
    const QString uri = params.value(QStringLiteral("textDocument"))
                            .toObject()
                            .value(QStringLiteral("uri"))
                            .toString();
    const auto open = m_open.find(uri);
    if (open == m_open.end())
        return;
    if (!open->second.name.empty() && m_index)
        m_index->closeText(open->second.name);
    m_open.erase(open);
}

void LanguageServer::didSave(const QJsonObject& params) {
    const QString uri = params.value(QStringLiteral("textDocument"))
                            .toObject()
                            .value(QStringLiteral("uri"))
                            .toString();
    if (nameOfUri(uri))
        publishDiagnostics();
}

void LanguageServer::publishDiagnostics() {
    if (m_compile.joinable()) {
        m_compileAgain = true;
        return;
    }
    const std::optional<std::string> compiler = compilerOnPath();
    if (!compiler)
        return;
    std::map<std::string, std::string> texts;
    for (const auto& [uri, document] : m_open)
        if (!document.name.empty())
            texts.emplace(document.name, document.text);
    m_compile = std::thread([this, root = m_root, compiler = *compiler, texts = std::move(texts)] {
        std::vector<CompilerMessage> messages = compileInScratchCopy(root, compiler, texts);
        m_post([this, compiler, messages = std::move(messages)] { compiled(compiler, messages); });
    });
}

void LanguageServer::compiled(const std::string& compiler,
                              const std::vector<CompilerMessage>& messages) {
    m_compile.join(); // it ends right after posting this
    if (std::exchange(m_compileAgain, false)) {
        publishDiagnostics();
        return;
    }
    std::map<QString, QJsonArray> byUri;
    for (const CompilerMessage& m : messages) {
        const std::string file = m.file.empty() ? std::string("progs.src") : m.file;
        TextPosition at{std::max(m.line - 1, 0), std::max(m.column - 1, 0)};
        if (const std::string* text =
                m_encoding == PositionEncoding::Utf8 ? textOfFile(file) : nullptr) {
            const TextLines lines(*text);
            at = lines.positionOf(lines.offsetOf({at.line, 0}, PositionEncoding::Utf16) +
                                      static_cast<std::size_t>(at.character),
                                  m_encoding);
        }
        const QJsonObject range{{QStringLiteral("start"), position(at)},
                                {QStringLiteral("end"), position({at.line, at.character + 1})}};
        byUri[uriOf(file)].append(QJsonObject{
            {QStringLiteral("range"), range},
            {QStringLiteral("severity"), m.kind == CompilerMessage::Kind::Error ? 1 : 2},
            {QStringLiteral("source"), QString::fromStdString(compiler)},
            {QStringLiteral("message"), textOf(m.text)}});
    }
    // Files that had messages and have none now are cleared.
    for (const QString& uri : m_diagnosed)
        byUri.try_emplace(uri);
    m_diagnosed.clear();
    for (const auto& [uri, diagnostics] : byUri) {
        if (!diagnostics.isEmpty())
            m_diagnosed.insert(uri);
        notify(QStringLiteral("textDocument/publishDiagnostics"),
               QJsonObject{{QStringLiteral("uri"), uri},
                           {QStringLiteral("diagnostics"), diagnostics}});
    }
}

} // namespace talmo
