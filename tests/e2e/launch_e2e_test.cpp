// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher with real programs: the window writes its batch files, the
// real batch runner executes them, the real QuakeC compiler builds the
// example mod. Stand-ins for notepad and the game, first on PATH, record
// the directory they ran in and their arguments. Runs are detached, so each
// check polls (bounded) for what a run leaves behind.
#include "WindowFixture.h"

#include "FileListBox.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using talmo::testing::currentFile;
using talmo::testing::editor;
using talmo::testing::readFile;
using talmo::testing::WindowFixture;
using talmo::testing::writeFile;

namespace {

constexpr int kRunTimeoutMs = 60000;

// A stand-in program that appends "<name>|<its directory>|<its arguments>"
// to the record; the arguments are joined by "^" so blanks inside one show.
std::string recorder(const char* name, const QString& record) {
    return std::string("#!/bin/sh\nargs=\nfor a in \"$@\"; do args=\"$args^$a\"; done\n") +
           "printf '%s|%s|%s\\n' '" + name + "' \"$PWD\" \"$args\" >> '" + record.toStdString() +
           "'\n";
}

// The example mod's files, to be copied into a scratch directory.
std::vector<std::pair<QString, std::string>> exampleMod() {
    std::vector<std::pair<QString, std::string>> files;
    QDirIterator it(QStringLiteral(TALMO_SOURCE_DIR "/examples/mod"), QDir::Files);
    while (it.hasNext()) {
        it.next();
        files.emplace_back(it.fileName(), readFile(it.filePath()));
    }
    return files;
}

// True once no process but this one has `dir` as its current directory;
// false when some still does after the time limit.
bool waitUntilNothingRunsIn(const QString& dir) {
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    const QString self = QString::number(QCoreApplication::applicationPid());
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        bool busy = false;
        const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
        for (const QString& pid : pids) {
            if (pid == self || pid.toLongLong() <= 0)
                continue;
            if (QFileInfo(QStringLiteral("/proc/%1/cwd").arg(pid)).symLinkTarget() == canonical)
                busy = true;
        }
        if (!busy)
            return true;
        if (timer.elapsed() > kRunTimeoutMs)
            return false;
        QTest::qWait(20);
    }
}

void retype(WindowFixture& f, QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    f.type(box, text);
}

} // namespace

class LaunchE2eTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void compileButtonBuildsTheModAndOpensTheLog();
    void goButtonStartsTheGameInItsDirectoryWithTheMod();
    void commandBoxWritesItsOutputAndOpensIt();
    void fileNameThatAShellWouldRunIsOnlyOpened();
    void compilerErrorsLeadToTheirLinesUntilFixed();
    void aCompileWithoutProgsSrcShowsTheCompilersError();

private:
    QStringList records() const;
    // Waits (bounded) for a record line that begins with `prefix`.
    QString waitForRecord(const QString& prefix) const;

    QTemporaryDir m_bin;
    QString m_record;
    QByteArray m_path;
};

void LaunchE2eTest::initTestCase() {
    QVERIFY(m_bin.isValid());
    m_record = m_bin.filePath(QStringLiteral("record"));
    for (const char* name : {"notepad", "quakegame"}) {
        const QString file = m_bin.filePath(QString::fromLatin1(name));
        writeFile(file, recorder(name, m_record));
        QVERIFY(
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    // The window finds its batch runner beside itself or on PATH; this test
    // program lives elsewhere, so the runner's directory goes on PATH.
    QVERIFY(QFile::exists(QStringLiteral(TALMO_BATCH_DIR "/talmo-batch")));
    m_path = qgetenv("PATH");
    qputenv("PATH",
            QFile::encodeName(m_bin.path()) + ':' + QByteArray(TALMO_BATCH_DIR) + ':' + m_path);
}

void LaunchE2eTest::cleanupTestCase() {
    qputenv("PATH", m_path);
}

void LaunchE2eTest::init() {
    QFile::remove(m_record);
}

QStringList LaunchE2eTest::records() const {
    return talmo::testing::readLines(m_record);
}

QString LaunchE2eTest::waitForRecord(const QString& prefix) const {
    QElapsedTimer timer;
    timer.start();
    do {
        for (const QString& line : records())
            if (line.startsWith(prefix))
                return line;
        QTest::qWait(20);
    } while (timer.elapsed() < kRunTimeoutMs);
    return {};
}

void LaunchE2eTest::compileButtonBuildsTheModAndOpensTheLog() {
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("fteqcc")).isEmpty(),
             "fteqcc is not installed");
    WindowFixture f(exampleMod());
    retype(f, f.control<QLineEdit>("compilerqc"), QStringLiteral("fteqcc"));
    QTest::mouseClick(f.control<QPushButton>("qccarranca"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("qcc.bat"))),
             std::string("fteqcc > log\r\nnotepad log \r\n"));

    // notepad runs once the compiler has ended.
    QCOMPARE(waitForRecord(QStringLiteral("notepad|")),
             QStringLiteral("notepad|") + f.dir() + QStringLiteral("|^log"));
    QVERIFY(QFileInfo(f.path(QStringLiteral("progs.dat"))).size() > 0);
    const std::string log = readFile(f.path(QStringLiteral("log")));
    QVERIFY2(log.find("0 warnings") != std::string::npos, log.c_str());
    QVERIFY(f.errors.isEmpty());
}

void LaunchE2eTest::goButtonStartsTheGameInItsDirectoryWithTheMod() {
    WindowFixture f({{QStringLiteral("game dir/id1/pak0.txt"), "stand-in\r\n"}});
    retype(f, f.control<QLineEdit>("pathquake"), f.path(QStringLiteral("game dir")));
    retype(f, f.control<QLineEdit>("namequake"), QStringLiteral("quakegame"));
    retype(f, f.control<QLineEdit>("namemod"), QStringLiteral("lantern"));
    retype(f, f.control<QLineEdit>("paramsquake"), QStringLiteral("+map start  +skill 2"));
    QTest::mouseClick(f.control<QPushButton>("Button5"), Qt::LeftButton);
    QCOMPARE(waitForRecord(QStringLiteral("quakegame|")),
             QStringLiteral("quakegame|") + f.path(QStringLiteral("game dir")) +
                 QStringLiteral("|^-game^lantern^+map^start^+skill^2"));

    // The Edit page's "Go!" does the same.
    QFile::remove(m_record);
    retype(f, f.control<QLineEdit>("namemod"), QStringLiteral("other"));
    QTest::mouseClick(f.control<QPushButton>("Button7"), Qt::LeftButton);
    QVERIFY(waitForRecord(QStringLiteral("quakegame|")).contains(QStringLiteral("^other^")));
    QVERIFY(f.errors.isEmpty());
}

void LaunchE2eTest::commandBoxWritesItsOutputAndOpensIt() {
    WindowFixture f;
    f.type(f.control<QLineEdit>("commander"), QStringLiteral("echo hello"), true);
    QCOMPARE(waitForRecord(QStringLiteral("notepad|")),
             QStringLiteral("notepad|") + f.dir() + QStringLiteral("|^commanderlog"));
    QCOMPARE(readFile(f.path(QStringLiteral("commanderlog"))), std::string("hello\n"));
}

void LaunchE2eTest::fileNameThatAShellWouldRunIsOnlyOpened() {
    const QString evil = QStringLiteral("x;touch pwned;$(touch pwned2) `touch pwned3` & y.qc");
    WindowFixture f({{evil, "float x;\r\n"}, {QStringLiteral("plain.qc"), "float y;\r\n"}});
    QVERIFY(f.clickItem(f.control<talmo::FileListBox>("qclista"), evil));
    f.control<QAction>("openwithnotepad1")->trigger();
    QCOMPARE(waitForRecord(QStringLiteral("notepad|")),
             QStringLiteral("notepad|") + f.dir() + QStringLiteral("|^") + f.path(evil));

    // Whatever a shell would have started runs before or after notepad: wait
    // until no process works in the directory any more.
    QVERIFY(waitUntilNothingRunsIn(f.dir()));
    const QStringList left = QDir(f.dir()).entryList(QDir::Files);
    QCOMPARE(left,
             (QStringList{QStringLiteral("gonotepad.bat"), QStringLiteral("plain.qc"), evil}));
    QVERIFY(f.errors.isEmpty());
}

namespace {

// Replaces line `number` (1-based) of a file's bytes.
void replaceLine(std::string& text, int number, const std::string& line) {
    std::size_t start = 0;
    for (int i = 1; i < number; ++i)
        start = text.find('\n', start) + 1;
    const std::size_t end = text.find_first_of("\r\n", start);
    text.replace(start, end - start, line);
}

} // namespace

void LaunchE2eTest::compilerErrorsLeadToTheirLinesUntilFixed() {
    // An assignment in a condition warns; an entity given a number fails.
    auto files = exampleMod();
    std::string cleanClient;
    for (auto& [name, bytes] : files) {
        if (name == QStringLiteral("client.qc")) {
            cleanClient = bytes;
            replaceLine(bytes, 68, "    if (self.impulse = self.frags)");
        } else if (name == QStringLiteral("floater.qc")) {
            replaceLine(bytes, 37, "    lamp = 3;");
        }
    }
    WindowFixture f(files);
    TForm1& w = f.window();
    retype(f, f.control<QLineEdit>("compilerqc"), QStringLiteral("fteqcc"));
    auto* list = f.control<QListView>("qccmessages");
    QTest::mouseClick(f.control<QPushButton>("qccarranca"), Qt::LeftButton);
    QElapsedTimer wait;
    wait.start();
    while (!list->isVisible() && wait.elapsed() < kRunTimeoutMs)
        QTest::qWait(1);
    const QDateTime filled = QDateTime::currentDateTime();
    qInfo("list filled %lld ms after the log was last written",
          QFileInfo(f.path(QStringLiteral("log"))).lastModified().msecsTo(filled));
    QStringList rows = WindowFixture::rowsOf(list);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], QStringLiteral("1 error, 1 warning"));

    const QString error = rows[2];
    QVERIFY2(error.startsWith(QStringLiteral("error  floater.qc:37")), qPrintable(error));
    QVERIFY(f.doubleClickRow(list, error));
    QCOMPARE(currentFile(w), f.path(QStringLiteral("floater.qc")));
    const std::string text = editor(w)->text();
    QCOMPARE(text.substr(static_cast<std::size_t>(editor(w)->selectionStart()),
                         static_cast<std::size_t>(editor(w)->selectionLength())),
             std::string("    lamp = 3;"));
    QCOMPARE(editor(w)->view()->linesWithMark(talmo::QsciView::LineMark::Error),
             std::vector<int>{36});

    // Fix both: the error in the editor (QCC! saves it), the warning on disk.
    editor(w)->view()->typeText("    self.lanterns = self.lanterns - 1;");
    writeFile(f.path(QStringLiteral("client.qc")), cleanClient);
    // The splitter gives the shown list its height on a later turn of the
    // event loop; until then (a busy machine) the close button has none and
    // a click on it misses.
    auto* close = f.control<QToolButton>("qccmessagesclose");
    QTRY_VERIFY_WITH_TIMEOUT(!close->size().isEmpty(), kRunTimeoutMs);
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!list->isVisible());
    QTest::mouseClick(f.control<QPushButton>("qccarranca"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(WindowFixture::rowsOf(list), QStringList{QStringLiteral("no errors")},
                              kRunTimeoutMs);
    QVERIFY(list->isVisible());
    QCOMPARE(editor(w)->view()->linesWithMark(talmo::QsciView::LineMark::Error),
             std::vector<int>{});
    QVERIFY(f.errors.isEmpty());
}

void LaunchE2eTest::aCompileWithoutProgsSrcShowsTheCompilersError() {
    // The compiler names no place for this error and fails.
    auto files = exampleMod();
    std::erase_if(files,
                  [](const auto& file) { return file.first == QStringLiteral("progs.src"); });
    WindowFixture f(files);
    retype(f, f.control<QLineEdit>("compilerqc"), QStringLiteral("fteqcc"));
    auto* list = f.control<QListView>("qccmessages");
    QTest::mouseClick(f.control<QPushButton>("qccarranca"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(list->isVisible(), kRunTimeoutMs);
    QCOMPARE(WindowFixture::rowsOf(list),
             (QStringList{QStringLiteral("1 error, 0 warnings"),
                          QStringLiteral("error  Couldn't open file progs.src")}));
}

QTEST_MAIN(LaunchE2eTest)
#include "launch_e2e_test.moc"
