// SPDX-License-Identifier: GPL-3.0-or-later
// `talmo [DIR | FILE]`, --help, --version and --last-directory, read as the
// program reads them, and the directory a start opens on.
#include "CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void parses_data();
    void parses();
    void startsInTheRememberedDirectoryOnlyWhenAsked_data();
    void startsInTheRememberedDirectoryOnlyWhenAsked();

private:
    QTemporaryDir m_scratch;
    QString m_before;
};

void CommandLineTest::init() {
    m_before = QDir::currentPath();
    QVERIFY(QDir(m_scratch.path()).mkpath(QStringLiteral("módé ñ")));
    QFile source(QDir(m_scratch.path()).filePath(QStringLiteral("módé ñ/ñá.qc")));
    QVERIFY(source.open(QIODevice::WriteOnly));
    QFile file(QDir(m_scratch.path()).filePath(QStringLiteral("progs.src")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QDir::setCurrent(m_scratch.path()));
}

void CommandLineTest::cleanup() {
    QDir::setCurrent(m_before);
}

void CommandLineTest::parses_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("directory"); // relative to the scratch folder
    QTest::addColumn<QString>("messagePart");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("lastDirectory");
    const QString talmo = QStringLiteral("/usr/bin/talmo");
    const QStringList last{talmo, QStringLiteral("--last-directory")};
    QTest::newRow("no DIR opens the current directory")
        << QStringList{talmo} << -1 << QString() << QString() << QString() << false;
    QTest::newRow("a relative non-ASCII DIR opens that directory")
        << QStringList{talmo, QStringLiteral("módé ñ")} << -1 << QStringLiteral("módé ñ")
        << QString() << QString() << false;
    QTest::newRow("a FILE opens its folder and names the file")
        << QStringList{talmo, QStringLiteral("módé ñ/ñá.qc")} << -1 << QStringLiteral("módé ñ")
        << QString() << QStringLiteral("ñá.qc") << false;
    QTest::newRow("--last-directory without DIR asks for the last directory")
        << last << -1 << QString() << QString() << QString() << true;
    QTest::newRow("a DIR wins over --last-directory")
        << (last + QStringList{QStringLiteral("módé ñ")}) << -1 << QStringLiteral("módé ñ")
        << QString() << QString() << false;
    QTest::newRow("the toolkit's own options and their values are left to it")
        << QStringList{talmo,
                       QStringLiteral("-style"),
                       QStringLiteral("fusion"),
                       QStringLiteral("--platform=offscreen"),
                       QStringLiteral("-reverse"),
                       QStringLiteral("módé ñ")}
        << -1 << QStringLiteral("módé ñ") << QString() << QString() << false;
    QTest::newRow("a missing DIR is an error with code 2")
        << QStringList{talmo, QStringLiteral("nowhere")} << 2 << QString()
        << QStringLiteral("talmo: nowhere: no such directory or file\n") << QString() << false;
    QTest::newRow("--version prints the name and version")
        << QStringList{talmo, QStringLiteral("--version")} << 0 << QString()
        << QStringLiteral("talmo " TALMO_EXPECTED_VERSION "\n") << QString() << false;
    QTest::newRow("--help names DIR, FILE and the menu's option")
        << QStringList{talmo, QStringLiteral("--help")} << 0 << QString()
        << QStringLiteral("[DIR | FILE]") << QString() << false;
    QTest::newRow("--help-all prints the help too")
        << QStringList{talmo, QStringLiteral("--help-all")} << 0 << QString()
        << QStringLiteral("--last-directory") << QString() << false;
    QTest::newRow("two DIRs are refused")
        << QStringList{talmo, QStringLiteral("."), QStringLiteral(".")} << 1 << QString()
        << QStringLiteral("one directory or file") << QString() << false;
    QTest::newRow("an unknown option is refused")
        << QStringList{talmo, QStringLiteral("--bogus")} << 1 << QString()
        << QStringLiteral("bogus") << QString() << false;
    QTest::newRow("an option after \"--\" is an operand, not the toolkit's")
        << QStringList{talmo, QStringLiteral("--"), QStringLiteral("-style")} << 2 << QString()
        << QStringLiteral("-style: no such directory or file") << QString() << false;
}

void CommandLineTest::parses() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, directory);
    QFETCH(QString, messagePart);
    QFETCH(QString, file);
    QFETCH(bool, lastDirectory);
    const talmo::StartRequest got = talmo::parseCommandLine(arguments);
    QCOMPARE(got.exitCode, exitCode);
    QVERIFY2(got.message.contains(messagePart), qPrintable(got.message));
    if (exitCode < 0)
        QCOMPARE(got.directory, QDir(m_scratch.path()).filePath(directory));
    else
        QVERIFY(got.directory.isEmpty());
    QCOMPARE(got.file, file);
    QCOMPARE(got.lastDirectory, lastDirectory);
}

void CommandLineTest::startsInTheRememberedDirectoryOnlyWhenAsked_data() {
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("remembered"); // relative to the scratch folder
    QTest::addColumn<QString>("opened");
    QTest::newRow("asked, and it exists")
        << true << QStringLiteral("módé ñ") << QStringLiteral("módé ñ");
    QTest::newRow("asked, but it is gone") << true << QStringLiteral("gone") << QString();
    QTest::newRow("asked, but it is a file now")
        << true << QStringLiteral("progs.src") << QString();
    QTest::newRow("asked, nothing remembered") << true << QString() << QString();
    QTest::newRow("not asked (a terminal's start)")
        << false << QStringLiteral("módé ñ") << QString();
}

void CommandLineTest::startsInTheRememberedDirectoryOnlyWhenAsked() {
    QFETCH(bool, asked);
    QFETCH(QString, remembered);
    QFETCH(QString, opened);
    talmo::StartRequest request;
    request.directory = m_scratch.path();
    request.lastDirectory = asked;
    const QString saved =
        remembered.isEmpty() ? QString() : QDir(m_scratch.path()).filePath(remembered);
    QCOMPARE(talmo::startDirectory(request, saved), QDir(m_scratch.path()).filePath(opened));
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
