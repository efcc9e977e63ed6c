// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher's buttons, menu entries and CMD box: the batch files they
// write, byte for byte, and what they hand to the shell. PATH holds only
// stand-ins for the batch runner and the desktop opener that record how they
// were called, so nothing real is started.
#include "WindowFixture.h"

#include "FileListBox.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using talmo::testing::control;
using talmo::testing::readFile;
using talmo::testing::WindowFixture;
using talmo::testing::writeFile;

namespace {

constexpr int kRunTimeoutMs = 10000;

// A stand-in program that appends "<name>|<its directory>|<its arguments>".
std::string recorder(const QString& name, const QString& record) {
    return "#!/bin/sh\nprintf '%s|%s|%s\\n' '" + name.toStdString() + "' \"$PWD\" \"$*\" >> '" +
           record.toStdString() + "'\n";
}

// Replaces a box's text by typing; characters beyond ASCII go as plain key
// texts, which QTest::keyClicks cannot send.
void retype(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class WindowLaunchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void compileBatchHoldsTheCompilerAndTheLogLines_data();
    void compileBatchHoldsTheCompilerAndTheLogLines();
    void bothGoButtonsWriteTheGameBatch_data();
    void bothGoButtonsWriteTheGameBatch();
    void commandBoxRunsItsTextOnEnterAndKeepsIt();
    void notepadAndShellOpenTakeTheSelectedPath_data();
    void notepadAndShellOpenTakeTheSelectedPath();
    void exploreFolderOpensTheDirectoryOfTheSelection();
    void batchThatCannotBeWrittenIsReportedAndNotRun();
    void afterAProfileSaveBatchesStayInTheWorkingDirectory();

private:
    // The record's lines, in the order the stand-ins ran.
    QStringList runs() const;
    // Waits (bounded) until the stand-ins have recorded `count` runs.
    bool waitForRuns(int count) const;

    QTemporaryDir m_bin;
    QString m_record;
    QByteArray m_path;
};

void WindowLaunchTest::initTestCase() {
    QVERIFY(m_bin.isValid());
    m_record = m_bin.filePath(QStringLiteral("record"));
    for (const QString& name : {QStringLiteral("talmo-batch"), QStringLiteral("xdg-open")}) {
        const QString file = m_bin.filePath(name);
        writeFile(file, recorder(name, m_record));
        QVERIFY(
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    m_path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_bin.path()));
}

void WindowLaunchTest::cleanupTestCase() {
    qputenv("PATH", m_path);
}

void WindowLaunchTest::init() {
    QFile::remove(m_record);
}

QStringList WindowLaunchTest::runs() const {
    return talmo::testing::readLines(m_record);
}

bool WindowLaunchTest::waitForRuns(int count) const {
    QElapsedTimer timer;
    timer.start();
    while (runs().size() < count && timer.elapsed() < kRunTimeoutMs)
        QTest::qWait(10);
    return runs().size() == count;
}

void WindowLaunchTest::compileBatchHoldsTheCompilerAndTheLogLines_data() {
    QTest::addColumn<QString>("compiler");
    QTest::addColumn<QByteArray>("batch");
    QTest::newRow("the initial compiler")
        << QStringLiteral("frikqcc2.exe") << QByteArray("frikqcc2.exe > log\r\nnotepad log \r\n");
    QTest::newRow("a compiler with options, as typed")
        << QStringLiteral("fteqcc -O3  -Wall")
        << QByteArray("fteqcc -O3  -Wall > log\r\nnotepad log \r\n");
    QTest::newRow("no compiler") << QString() << QByteArray(" > log\r\nnotepad log \r\n");
}

void WindowLaunchTest::compileBatchHoldsTheCompilerAndTheLogLines() {
    QFETCH(QString, compiler);
    QFETCH(QByteArray, batch);
    WindowFixture f;
    TForm1& w = f.window();
    retype(control<QLineEdit>(w, "compilerqc"), compiler);
    const QStringList log = f.logLines();
    QTest::mouseClick(control<QPushButton>(w, "qccarranca"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("qcc.bat"))), batch.toStdString());
    QVERIFY(waitForRuns(1));
    QCOMPARE(runs(), QStringList{QStringLiteral("talmo-batch|") + f.dir() + u'|' +
                                 QStringLiteral("--progress qcc.bat")});
    // Pressed again: the same file, run again.
    QTest::mouseClick(control<QPushButton>(w, "qccarranca"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("qcc.bat"))), batch.toStdString());
    QVERIFY(waitForRuns(2));
    QCOMPARE(f.logLines(), log);
    QVERIFY(f.errors.isEmpty());
}

void WindowLaunchTest::bothGoButtonsWriteTheGameBatch_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("settings"); // path, exe, mod, args
    QTest::addColumn<QByteArray>("batch");
    QTest::newRow("GO! with a drive path and arguments")
        << QStringLiteral("Button5")
        << QStringList{QStringLiteral("D:\\games\\quake"), QStringLiteral("quake.exe"),
                       QStringLiteral("mymod"), QStringLiteral("+map start")}
        << QByteArray("D:\r\ncd D:\\games\\quake\r\nquake.exe -game mymod +map start\r\n");
    QTest::newRow("Go! with a network path")
        << QStringLiteral("Button7")
        << QStringList{QStringLiteral("\\\\server\\share\\quake"), QStringLiteral("q.exe"),
                       QStringLiteral("m"), QStringLiteral("-x")}
        << QByteArray("\\\\server\\share\r\ncd \\\\server\\share\\quake\r\nq.exe -game m -x\r\n");
    QTest::newRow("GO! with no mod and no arguments keeps both blanks")
        << QStringLiteral("Button5")
        << QStringList{QStringLiteral("/games/quake"), QStringLiteral("quake.exe"), QString(),
                       QString()}
        << QByteArray("\r\ncd /games/quake\r\nquake.exe -game  \r\n");
    QTest::newRow("Go! with every setting empty")
        << QStringLiteral("Button7") << QStringList(4, QString())
        << QByteArray("\r\ncd \r\n -game  \r\n");
    QTest::newRow("GO! with blanks and accents written as typed")
        << QStringLiteral("Button5")
        << QStringList{QStringLiteral("/jeux/\u00e9t\u00e9 1"), QStringLiteral("my quake"),
                       QStringLiteral("m"), QStringLiteral("a  b")}
        << (QByteArray("\r\ncd /jeux/") + QStringLiteral("\u00e9t\u00e9").toLocal8Bit() +
            QByteArray(" 1\r\nmy quake -game m a  b\r\n"));
}

void WindowLaunchTest::bothGoButtonsWriteTheGameBatch() {
    QFETCH(QString, button);
    QFETCH(QStringList, settings);
    QFETCH(QByteArray, batch);
    WindowFixture f;
    TForm1& w = f.window();
    retype(control<QLineEdit>(w, "pathquake"), settings[0]);
    retype(control<QLineEdit>(w, "namequake"), settings[1]);
    retype(control<QLineEdit>(w, "namemod"), settings[2]);
    retype(control<QLineEdit>(w, "paramsquake"), settings[3]);
    QTest::mouseClick(f.control<QPushButton>(qPrintable(button)), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("goquake.bat"))), batch.toStdString());
    QVERIFY(waitForRuns(1));
    QVERIFY(runs().first().endsWith(QStringLiteral("|goquake.bat")));
    QVERIFY(f.errors.isEmpty());
}

void WindowLaunchTest::commandBoxRunsItsTextOnEnterAndKeepsIt() {
    WindowFixture f;
    TForm1& w = f.window();
    f.type(control<QLineEdit>(w, "commander"), QString(), true);
    QVERIFY(!QFile::exists(f.path(QStringLiteral("gocmd.bat"))));

    f.type(control<QLineEdit>(w, "commander"), QStringLiteral("dir /w"));
    QVERIFY(!QFile::exists(f.path(QStringLiteral("gocmd.bat")))); // only Enter runs it
    QTest::keyClick(control<QLineEdit>(w, "commander"), Qt::Key_Return);
    QCOMPARE(readFile(f.path(QStringLiteral("gocmd.bat"))),
             std::string("dir /w> commanderlog\r\nnotepad commanderlog\r\n"));
    QCOMPARE(control<QLineEdit>(w, "commander")->text(), QStringLiteral("dir /w"));
    QVERIFY(waitForRuns(1));
    QCOMPARE(runs(),
             QStringList{QStringLiteral("talmo-batch|") + f.dir() + QStringLiteral("|gocmd.bat")});
    QTest::keyClick(control<QLineEdit>(w, "commander"), Qt::Key_Enter);
    QVERIFY(waitForRuns(2));
}

void WindowLaunchTest::notepadAndShellOpenTakeTheSelectedPath_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("selected"); // "" selects nothing
    QTest::addColumn<QString>("batchName");
    QTest::addColumn<QString>("line"); // %1 stands for the scratch directory
    QTest::newRow("notepad with nothing selected")
        << QStringLiteral("qclista") << QString() << QStringLiteral("gonotepad.bat")
        << QStringLiteral("notepad ");
    QTest::newRow("notepad on a plain name")
        << QStringLiteral("qclista") << QStringLiteral("defs.qc") << QStringLiteral("gonotepad.bat")
        << QStringLiteral("notepad %1/defs.qc");
    QTest::newRow("notepad on a name with a blank, quoted")
        << QStringLiteral("qclista") << QStringLiteral("my defs.qc")
        << QStringLiteral("gonotepad.bat") << QStringLiteral("notepad \"%1/my defs.qc\"");
    QTest::newRow("shell open with nothing selected")
        << QStringLiteral("listado") << QString() << QStringLiteral("goshell.bat")
        << QStringLiteral("start ");
    QTest::newRow("shell open on a plain name")
        << QStringLiteral("listado") << QStringLiteral("readme.txt")
        << QStringLiteral("goshell.bat") << QStringLiteral("start %1/readme.txt");
    QTest::newRow("shell open on a name a shell would run, quoted with an empty title")
        << QStringLiteral("listado") << QStringLiteral("a;b&c.txt") << QStringLiteral("goshell.bat")
        << QStringLiteral("start \"\" \"%1/a;b&c.txt\"");
}

void WindowLaunchTest::notepadAndShellOpenTakeTheSelectedPath() {
    QFETCH(QString, list);
    QFETCH(QString, selected);
    QFETCH(QString, batchName);
    QFETCH(QString, line);
    WindowFixture f({{QStringLiteral("defs.qc"), "float x;\r\n"},
                     {QStringLiteral("my defs.qc"), "float y;\r\n"},
                     {QStringLiteral("readme.txt"), "text\r\n"},
                     {QStringLiteral("a;b&c.txt"), "text\r\n"}});
    TForm1& w = f.window();
    auto* files = f.control<talmo::FileListBox>(qPrintable(list));
    if (!selected.isEmpty())
        QVERIFY(f.clickItem(files, selected));
    QCOMPARE(files->selectedName(), selected);
    (list == QStringLiteral("qclista") ? control<QAction>(w, "openwithnotepad1")
                                       : control<QAction>(w, "shellopen1"))
        ->trigger();

    const QString expected = line.arg(f.dir()) + QStringLiteral("\r\n");
    QCOMPARE(readFile(f.path(batchName)), expected.toStdString());
    QVERIFY(waitForRuns(1));
    QVERIFY(runs().first().endsWith(u'|' + batchName));
    QVERIFY(f.errors.isEmpty());
}

void WindowLaunchTest::exploreFolderOpensTheDirectoryOfTheSelection() {
    WindowFixture f({{QStringLiteral("readme.txt"), "text\r\n"}});
    TForm1& w = f.window();
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "listado"), QStringLiteral("readme.txt")));
    control<QAction>(w, "ExploreFolder1")->trigger();
    QVERIFY(waitForRuns(1));
    QCOMPARE(runs(), QStringList{QStringLiteral("xdg-open|") + f.dir() + u'|' + f.dir() + u'/'});
    // No batch file is written for a folder.
    QCOMPARE(QDir(f.dir()).entryList(QDir::Files), QStringList{QStringLiteral("readme.txt")});
}

void WindowLaunchTest::batchThatCannotBeWrittenIsReportedAndNotRun() {
    WindowFixture f;
    TForm1& w = f.window();
    QVERIFY(QDir(f.dir()).mkdir(QStringLiteral("qcc.bat")));
    QVERIFY(QDir(f.dir()).mkdir(QStringLiteral("gocmd.bat")));
    const QStringList log = f.logLines();

    QTest::mouseClick(control<QPushButton>(w, "qccarranca"), Qt::LeftButton);
    QCOMPARE(f.errors.size(), 1);
    f.type(control<QLineEdit>(w, "commander"), QStringLiteral("echo x"), true);
    QCOMPARE(f.errors.size(), 2);
    QCOMPARE(f.logLines(), log);
    QVERIFY(QFileInfo(f.path(QStringLiteral("qcc.bat"))).isDir());

    // A batch that can be written still runs, and it is the only run.
    QTest::mouseClick(control<QPushButton>(w, "Button5"), Qt::LeftButton);
    QVERIFY(waitForRuns(1));
    QVERIFY(runs().first().endsWith(QStringLiteral("|goquake.bat")));
}

void WindowLaunchTest::afterAProfileSaveBatchesStayInTheWorkingDirectory() {
    WindowFixture f({{QStringLiteral("sub/defs.qc"), "float x;\r\n"}});
    TForm1& w = f.window();
    f.type(control<QLineEdit>(w, "pathsrc"), f.path(QStringLiteral("sub")), true);
    QTest::mouseClick(control<QPushButton>(w, "qccarranca"), Qt::LeftButton);
    QVERIFY(QFile::exists(f.path(QStringLiteral("sub/qcc.bat"))));

    QTest::mouseClick(control<QPushButton>(w, "Button2"),
                      Qt::LeftButton); // Save re-reads the profile list
    QTest::mouseClick(control<QPushButton>(w, "qccarranca"), Qt::LeftButton);
    QVERIFY(!QFile::exists(f.path(QStringLiteral("qcc.bat"))));
    QVERIFY(waitForRuns(2));
    const QString inSub = QStringLiteral("talmo-batch|") + f.path(QStringLiteral("sub")) +
                          QStringLiteral("|--progress qcc.bat");
    QCOMPARE(runs(), (QStringList{inSub, inSub}));
}

QTEST_MAIN(WindowLaunchTest)
#include "window_launch_test.moc"
