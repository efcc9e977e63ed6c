#include "CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace talmo {

namespace {

const QStringList kTextOptions = {QStringLiteral("-h"), QStringLiteral("--help"),
                                  QStringLiteral("--help-all"), QStringLiteral("-v"),
                                  QStringLiteral("--version")};

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
    parser.addPositionalArgument(QStringLiteral("DIR"),
                                 QStringLiteral("The mod's source directory (default: the "
                                                "current directory)."),
                                 QStringLiteral("[DIR]"));

    const QString program = QFileInfo(arguments.value(0, QStringLiteral("talmo"))).fileName();
    if (!parser.parse(arguments))
        return exitWith(1, program + QStringLiteral(": ") + parser.errorText() + u'\n');
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))
        return exitWith(0, parser.helpText());
    if (parser.isSet(version))
        return exitWith(0, program + u' ' + QStringLiteral(TALMO_VERSION) + u'\n');

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return exitWith(1, program + QStringLiteral(": one directory at most\n"));
    if (positional.isEmpty()) {
        StartRequest r;
        r.directory = QDir::currentPath();
        return r;
    }
    const QFileInfo dir(QDir::current(), positional.first());
    if (!dir.exists())
        return exitWith(2, program + QStringLiteral(": ") + positional.first() +
                               QStringLiteral(": no such directory\n"));
    if (!dir.isDir())
        return exitWith(2, program + QStringLiteral(": ") + positional.first() +
                               QStringLiteral(": not a directory\n"));
    StartRequest r;
    r.directory = dir.absoluteFilePath();
    return r;
}

} // namespace talmo
