// SPDX-License-Identifier: GPL-3.0-or-later
// The compile loop in the window: "QCC!" runs a stand-in compiler (a typed
// command printing a prepared log) through the real batch runner; the
// messages fill the list under the editor, lead to their lines and mark
// them. F1 on a documented word shows its reference entry.
#include "WindowFixture.h"

#include "QsciEditor.h"
#include "QsciView.h"

#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>

using talmo::QsciEditor;
using talmo::QsciView;
using talmo::testing::control;
using talmo::testing::currentFile;
using talmo::testing::editor;
using talmo::testing::editorView;
using talmo::testing::openFile;
using talmo::testing::WindowFixture;
using Lines = std::vector<int>;

namespace {

const QString kOther = QStringLiteral("sub dir/b\u00e9.qc");

// A stand-in compiler's log: a warning in a.qc, an error in the file with a
// non-ASCII name, an error in a file that does not exist, and noise.
const std::string kLog = "compiling a.qc\n"
                         "a.qc:2: warning: w text\n"
                         "sub dir/b\xc3\xa9.qc:3:4: error: caf\xe9\xa0x\n"
                         "gone.qc(5) : error: missing\n";

std::vector<std::pair<QString, std::string>> modFiles() {
    return {{QStringLiteral("a.qc"), "float a;\r\nfloat b;\r\nfloat c;\r\n"},
            {kOther, "// one\r\n// two\r\nvoid() remove = #15;\r\n"},
            {QStringLiteral("fake.log"), kLog}};
}

std::string selectedText(const QsciEditor* e) {
    return e->text().substr(static_cast<std::size_t>(e->selectionStart()),
                            static_cast<std::size_t>(e->selectionLength()));
}

// A stand-in program that does nothing.
bool writeProgram(const QString& path) {
    talmo::testing::writeFile(path, "#!/bin/sh\nexit 0\n");
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class WindowCompileTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void compileListsTheMessagesAndAnEntryOpensItsLine();
    void f4AndShiftF4GoThroughTheMessages();
    void aFailedCompileShowsAsFailed();
    void theInitialCompilerIsOneFoundOnPath();
    void f1OnADocumentedWordShowsItsEntry();

private:
    // Loads a.qc, compiles with the stand-in and waits for the list.
    void compile(WindowFixture& f, const QString& compiler = QStringLiteral("cat fake.log"));

    QTemporaryDir m_bin;
    QByteArray m_path;
};

void WindowCompileTest::initTestCase() {
    // notepad does nothing here; the runner comes from the build.
    QVERIFY(m_bin.isValid());
    QVERIFY(writeProgram(m_bin.filePath(QStringLiteral("notepad"))));
    m_path = qgetenv("PATH");
    qputenv("PATH",
            QFile::encodeName(m_bin.path()) + ':' + QByteArray(TALMO_BATCH_DIR) + ':' + m_path);
}

void WindowCompileTest::cleanupTestCase() {
    qputenv("PATH", m_path);
}

void WindowCompileTest::compile(WindowFixture& f, const QString& compiler) {
    TForm1& w = f.window();
    QVERIFY(f.openSource(QStringLiteral("a.qc")));
    control<QLineEdit>(w, "compilerqc")->setText(compiler);
    auto* list = f.control<QListView>("qccmessages");
    QTest::mouseClick(control<QPushButton>(w, "qccarranca"), Qt::LeftButton);
    // The list shows once the compile has been read.
    QTRY_VERIFY_WITH_TIMEOUT(list->isVisible(), 20000);
}

void WindowCompileTest::compileListsTheMessagesAndAnEntryOpensItsLine() {
    WindowFixture f(modFiles());
    TForm1& w = f.window();
    compile(f);
    auto* list = f.control<QListView>("qccmessages");
    QVERIFY(list->isVisible());
    const QStringList rows = WindowFixture::rowsOf(list);
    QCOMPARE(rows,
             (QStringList{
                 QStringLiteral("2 errors, 1 warning"), QStringLiteral("warning  a.qc:2  w text"),
                 QStringLiteral("error  ") + kOther + QStringLiteral(":3:4  caf\u00e9\u00a0x"),
                 QStringLiteral("error  gone.qc:5  missing")}));
    QCOMPARE(editorView(w)->linesWithMark(QsciView::LineMark::Warning), Lines{1});
    QCOMPARE(editorView(w)->linesWithMark(QsciView::LineMark::Error), Lines{});
    QVERIFY(f.errors.isEmpty());

    // An entry opens its file with its line selected and marked.
    QVERIFY(f.doubleClickRow(list, rows[2]));
    QCOMPARE(QFileInfo(currentFile(w)).canonicalFilePath(),
             QFileInfo(f.path(kOther)).canonicalFilePath());
    QCOMPARE(selectedText(editor(w)), std::string("void() remove = #15;"));
    QCOMPARE(editorView(w)->linesWithMark(QsciView::LineMark::Error), Lines{2});
    QCOMPARE(editorView(w)->linesWithMark(QsciView::LineMark::Warning), Lines{});

    // The file of the last entry does not exist: logged, nothing changes.
    const QString before = currentFile(w);
    list->setCurrentIndex(list->model()->index(3, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(currentFile(w), before);
    QVERIFY(f.logLines().last().contains(QStringLiteral("gone.qc")));

    QTest::mouseClick(f.control<QToolButton>("qccmessagesclose"), Qt::LeftButton);
    QVERIFY(!list->isVisible());
}

void WindowCompileTest::f4AndShiftF4GoThroughTheMessages() {
    WindowFixture f(modFiles());
    TForm1& w = f.window();
    compile(f);
    editor(w)->setFocus();
    QTest::keyClick(editorView(w), Qt::Key_F4);
    QCOMPARE(QFileInfo(currentFile(w)).fileName(), QStringLiteral("a.qc"));
    QCOMPARE(selectedText(editor(w)), std::string("float b;"));
    QTest::keyClick(editorView(w), Qt::Key_F4);
    QCOMPARE(selectedText(editor(w)), std::string("void() remove = #15;"));
    QTest::keyClick(editorView(w), Qt::Key_F4, Qt::ShiftModifier);
    QCOMPARE(selectedText(editor(w)), std::string("float b;"));
    // Backwards from the first wraps to the last (a missing file: logged).
    QTest::keyClick(editorView(w), Qt::Key_F4, Qt::ShiftModifier);
    QCOMPARE(f.control<QListView>("qccmessages")->currentIndex().row(), 3);
    QCOMPARE(QFileInfo(currentFile(w)).fileName(), QStringLiteral("a.qc"));
}

void WindowCompileTest::aFailedCompileShowsAsFailed() {
    WindowFixture f(modFiles());
    // A compiler that fails without a word in the log.
    compile(f, QStringLiteral("exit 2"));
    QCOMPARE(WindowFixture::rowsOf(f.control<QListView>("qccmessages")),
             QStringList{QStringLiteral("the compiler failed (exit status 2); see log")});
}

void WindowCompileTest::theInitialCompilerIsOneFoundOnPath() {
    QVERIFY(writeProgram(m_bin.filePath(QStringLiteral("qfcc"))));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_bin.path()));
    WindowFixture f;
    qputenv("PATH", path);
    QFile::remove(m_bin.filePath(QStringLiteral("qfcc")));
    QCOMPARE(control<QLineEdit>(f.window(), "compilerqc")->text(), QStringLiteral("qfcc"));
}

void WindowCompileTest::f1OnADocumentedWordShowsItsEntry() {
    WindowFixture f(modFiles());
    TForm1& w = f.window();
    QVERIFY(openFile(w, f.path(kOther)));
    editor(w)->setFocus();
    const long remove = static_cast<long>(editor(w)->text().find("remove"));
    editor(w)->setSelectionStart(remove + 2);
    editor(w)->setSelectionLength(0);
    QTest::keyClick(editorView(w), Qt::Key_F1);
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 7);
    QCOMPARE(control<QTabWidget>(w, "TabbedNotebook2")->currentIndex(), 2);
    auto* memo = f.control<QPlainTextEdit>("Memo4");
    QCOMPARE(memo->textCursor().selectedText(), QStringLiteral("remove"));
    QVERIFY(memo->textCursor().block().text().contains(QStringLiteral("= #15")));

    // Elsewhere F1 only shows the Help page.
    control<QTabWidget>(w, "TabbedNotebook2")->setCurrentIndex(6);
    control<QTabWidget>(w, "Manager")->setCurrentIndex(1);
    editor(w)->setSelectionStart(0);
    QTest::keyClick(editorView(w), Qt::Key_F1);
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 7);
    QCOMPARE(control<QTabWidget>(w, "TabbedNotebook2")->currentIndex(), 6);
}

QTEST_MAIN(WindowCompileTest)
#include "window_compile_test.moc"
