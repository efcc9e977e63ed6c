// `talmo [DIR]`, --help and --version, read as the program reads them.
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

private:
    QTemporaryDir m_scratch;
    QString m_before;
};

void CommandLineTest::init() {
    m_before = QDir::currentPath();
    QVERIFY(QDir(m_scratch.path()).mkpath(QStringLiteral("módé ñ")));
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
    const QString talmo = QStringLiteral("/usr/bin/talmo");
    QTest::newRow("no DIR opens the current directory")
        << QStringList{talmo} << -1 << QString() << QString();
    QTest::newRow("a relative non-ASCII DIR opens that directory")
        << QStringList{talmo, QStringLiteral("módé ñ")} << -1 << QStringLiteral("módé ñ")
        << QString();
    QTest::newRow("a missing DIR is an error with code 2")
        << QStringList{talmo, QStringLiteral("nowhere")} << 2 << QString()
        << QStringLiteral("talmo: nowhere: no such directory\n");
    QTest::newRow("a file as DIR is an error with code 2")
        << QStringList{talmo, QStringLiteral("progs.src")} << 2 << QString()
        << QStringLiteral("not a directory");
    QTest::newRow("--version prints the name and version")
        << QStringList{talmo, QStringLiteral("--version")} << 0 << QString()
        << QStringLiteral("talmo " TALMO_EXPECTED_VERSION "\n");
    QTest::newRow("--help names DIR") << QStringList{talmo, QStringLiteral("--help")} << 0
                                      << QString() << QStringLiteral("[DIR]");
    QTest::newRow("--help-all prints the help too")
        << QStringList{talmo, QStringLiteral("--help-all")} << 0 << QString()
        << QStringLiteral("[DIR]");
    QTest::newRow("two DIRs are refused")
        << QStringList{talmo, QStringLiteral("."), QStringLiteral(".")} << 1 << QString()
        << QStringLiteral("one directory");
    QTest::newRow("an unknown option is refused") << QStringList{talmo, QStringLiteral("--bogus")}
                                                  << 1 << QString() << QStringLiteral("bogus");
}

void CommandLineTest::parses() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, directory);
    QFETCH(QString, messagePart);
    const talmo::StartRequest got = talmo::parseCommandLine(arguments);
    QCOMPARE(got.exitCode, exitCode);
    QVERIFY2(got.message.contains(messagePart), qPrintable(got.message));
    if (exitCode < 0)
        QCOMPARE(got.directory, QDir(m_scratch.path()).filePath(directory));
    else
        QVERIFY(got.directory.isEmpty());
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
