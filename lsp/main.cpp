// SPDX-License-Identifier: GPL-3.0-or-later
// talmo-lsp: Talmo's knowledge of a QuakeC mod for any editor with a
// language-server client. JSON-RPC over stdin and stdout, each message after
// a "Content-Length: n" header and an empty line.
#include "Completion.h"
#include "LanguageServer.h"
#include "LargeBuffers.h"

#include <QCoreApplication>
#include <QFile>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <variant>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr long long kMaxMessageBytes = 64ll << 20;

std::string resourceText(const char* name) {
    QFile file(QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// One header line without its line break; false at the end of the input.
bool readHeaderLine(std::string& line) {
    line.clear();
    for (int c; (c = std::getchar()) != EOF;) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        line += static_cast<char>(c);
        if (line.size() > 4096)
            line.erase(0, 2048); // no header is that long: keep reading to its end
    }
    return false;
}

void send(const QByteArray& body) {
    const std::string header = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    std::fwrite(header.data(), 1, header.size(), stdout);
    std::fwrite(body.constData(), 1, static_cast<std::size_t>(body.size()), stdout);
    std::fflush(stdout);
}

// What the server's thread works through, in order: messages read from the
// client, framing errors, the end of the input, and work posted by the
// server's own threads (a finished compile).
struct FramingError {
    QString message;
};
struct EndOfInput {};
using Item = std::variant<QByteArray, FramingError, EndOfInput, std::function<void()>>;

class Inbox {
public:
    void put(Item item) {
        {
            const std::lock_guard lock(m_mutex);
            m_items.push_back(std::move(item));
        }
        m_ready.notify_one();
    }
    Item take() {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_items.empty(); });
        Item item = std::move(m_items.front());
        m_items.pop_front();
        return item;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<Item> m_items;
};

// Reads framed messages from stdin until it ends.
void readMessages(Inbox& inbox) {
    std::string line;
    for (;;) {
        long long length = -1;
        bool headers = false;
        while (readHeaderLine(line)) {
            headers = true;
            if (line.empty())
                break;
            constexpr std::string_view kLength = "content-length:";
            if (line.size() > kLength.size() &&
                std::equal(kLength.begin(), kLength.end(), line.begin(), [](char a, char b) {
                    return a == std::tolower(static_cast<unsigned char>(b));
                })) {
                try {
                    length = std::stoll(line.substr(kLength.size()));
                } catch (const std::exception&) {
                    length = -1;
                }
            }
        }
        if (std::feof(stdin) || !headers)
            break;
        if (length < 0 || length > kMaxMessageBytes) {
            inbox.put(FramingError{QStringLiteral("no usable Content-Length")});
            continue;
        }
        QByteArray body(static_cast<qsizetype>(length), Qt::Uninitialized);
        if (std::fread(body.data(), 1, static_cast<std::size_t>(length), stdin) !=
            static_cast<std::size_t>(length))
            break;
        inbox.put(std::move(body));
    }
    inbox.put(EndOfInput{});
}

} // namespace

int main(int argc, char** argv) {
    talmo::keepLargeBuffersForReuse();
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("talmo-lsp %s\n", TALMO_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--stdio") != 0) {
            std::fprintf(stderr, "usage: talmo-lsp [--stdio]\n");
            return 2;
        }
    }
    QCoreApplication app(argc, argv);
    // Never freed: the reader may still put into it while the process ends,
    // and the server's compile thread posts to it until the server is gone.
    Inbox& inbox = *new Inbox;
    talmo::LanguageServer server(
        send,
        talmo::languageWordsOf(resourceText(":/help/builtin.txt"), resourceText(":/help/lex.txt"),
                               resourceText(":/help/console.txt")),
        [&inbox](std::function<void()> work) { inbox.put(std::move(work)); });
    // The reader may still wait on stdin when the server exits; the process
    // ends without it.
    std::thread(readMessages, std::ref(inbox)).detach();
    while (!server.exited()) {
        Item item = inbox.take();
        if (std::holds_alternative<EndOfInput>(item))
            break;
        if (auto* body = std::get_if<QByteArray>(&item))
            server.handle(*body);
        else if (auto* error = std::get_if<FramingError>(&item))
            server.framingError(error->message);
        else
            std::get<std::function<void()>>(item)();
    }
    // An end of the input without "shutdown" first is an unclean end.
    return server.exited() ? server.exitCode() : 1;
}
