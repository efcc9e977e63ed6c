// SPDX-License-Identifier: GPL-3.0-or-later
// Talmo: `talmo [DIR | FILE]` opens the main window on DIR, on FILE's
// folder with FILE in the editor, or on the process's current directory.
#include "AppIdentity.h"
#include "CommandLine.h"
#include "LargeBuffers.h"
#include "QuitSignals.h"
#include "TForm1.h"
#include "WindowSettings.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <memory>

namespace {

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

} // namespace

int main(int argc, char* argv[]) {
    talmo::keepLargeBuffersForReuse();
    // Errors are answered before any window system is touched, so they are
    // the same with or without a display.
    const QStringList raw = argumentsOf(argc, argv);
    if (const talmo::StartRequest early = talmo::parseCommandLine(raw); early.exitCode > 0) {
        print(stderr, early.message);
        return early.exitCode;
    }
    // Help and the version work without a display.
    std::unique_ptr<QCoreApplication> app;
    if (talmo::asksOnlyForText(raw))
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    // The name places the application's files; no display name, which the
    // title bar would append to the window's own caption.
    QCoreApplication::setApplicationName(QStringLiteral("Talmo"));
    talmo::identifyApplication();

    const talmo::StartRequest start = talmo::parseCommandLine(QCoreApplication::arguments());
    if (start.exitCode >= 0) {
        print(start.exitCode == 0 ? stdout : stderr, start.message);
        return start.exitCode;
    }
    talmo::WindowSettings settings;
    const QString directory = talmo::startDirectory(start, settings.lastDirectory());
    if (!QDir::setCurrent(directory)) {
        print(stderr, QStringLiteral("talmo: ") + directory +
                          QStringLiteral(": cannot enter the directory\n"));
        return 2;
    }
    TForm1 window;
    settings.follow(window);
    talmo::closeOnQuitRequests(&window);
    window.show();
    talmo::openStartFile(window, start);
    return QCoreApplication::exec();
}
