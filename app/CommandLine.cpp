// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace talmo {

namespace {

const QStringList kTextOptions = {QStringLiteral("-h"), QStringLiteral("--help"),
                                  QStringLiteral("--help-all"), QStringLiteral("-v"),
                                  QStringLiteral("--version")};

// The options QApplication takes out of the command line before the program
// sees it (with one dash or two); the first group takes a value.
const QStringList kToolkitOptionsWithValue = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),    QStringLiteral("geometry"),
    QStringLiteral("title"),           QStringLiteral("icon"),
    QStringLiteral("display"),         QStringLiteral("name"),
    QStringLiteral("session"),         QStringLiteral("style"),
    QStringLiteral("stylesheet")};
const QStringList kToolkitFlags = {QStringLiteral("reverse"),     QStringLiteral("testability"),
                                   QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                                   QStringLiteral("dograb"),      QStringLiteral("sync")};

// The command line without the toolkit's options, so that it reads the same
// before the application exists (no display needed) as after.
QStringList withoutToolkitOptions(const QStringList& arguments) {
    QStringList out;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--")) {
            out << arguments.mid(i); // after "--", everything is the program's
            break;
        }
        if (i == 0 || !arg.startsWith(u'-') || arg == QLatin1String("-")) {
            out << arg;
            continue;
        }
        QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool joined = name.contains(u'=');
        name = name.section(u'=', 0, 0);
        if (kToolkitOptionsWithValue.contains(name))
            i += joined ? 0 : 1;
        else if (name == QLatin1String("qmljsdebugger") || kToolkitFlags.contains(name))
            continue;
        else
            out << arg;
    }
    return out;
}

StartRequest exitWith(int code, const QString& message) {
    StartRequest r;
    r.exitCode = code;
    r.message = message;
    return r;
}

} // namespace

bool asksOnlyForText(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            return false;
        if (kTextOptions.contains(arguments[i]))
            return true;
    }
    return false;
}

StartRequest parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor and browser for QuakeC sources."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption last(
        QStringLiteral("last-directory"),
        QStringLiteral("Without DIR or FILE, open the directory of the last run while it "
                       "exists (the desktop menu starts Talmo this way)."));
    parser.addOption(last);
    parser.addPositionalArgument(
        QStringLiteral("DIR|FILE"),
        QStringLiteral("The mod's source directory (default: the current directory), or a "
                       "file to load into the editor, opening its directory."),
        QStringLiteral("[DIR | FILE]"));

    const QString program = QFileInfo(arguments.value(0, QStringLiteral("talmo"))).fileName();
    if (!parser.parse(withoutToolkitOptions(arguments)))
        return exitWith(1, program + QStringLiteral(": ") + parser.errorText() + u'\n');
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        return exitWith(0, parser.helpText());
    if (parser.isSet(version))
        return exitWith(0, program + u' ' + QStringLiteral(TALMO_VERSION) + u'\n');

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return exitWith(1, program + QStringLiteral(": one directory or file at most\n"));
    if (positional.isEmpty()) {
        StartRequest r;
        r.directory = QDir::currentPath();
        r.lastDirectory = parser.isSet(last);
        return r;
    }
    const QFileInfo given(QDir::current(), positional.first());
    if (!given.exists())
        return exitWith(2, program + QStringLiteral(": ") + positional.first() +
                               QStringLiteral(": no such directory or file\n"));
    StartRequest r;
    if (given.isDir()) {
        r.directory = given.absoluteFilePath();
    } else if (given.isFile()) {
        r.directory = given.absolutePath();
        r.file = given.fileName();
    } else {
        return exitWith(2, program + QStringLiteral(": ") + positional.first() +
                               QStringLiteral(": not a directory or plain file\n"));
    }
    return r;
}

QString startDirectory(const StartRequest& request, const QString& remembered) {
    if (request.lastDirectory && !remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    return request.directory;
}

} // namespace talmo
