// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's commands through real keys and clicks: edited mark, blue
// typing, caret indicator, HEAD line, go to line, menu shortcuts, Create New
// and delete.
#include "WindowFixture.h"

#include "FileListBox.h"
#include "FilePanel.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using talmo::testing::control;
using talmo::testing::currentFile;
using talmo::testing::editor;
using talmo::testing::editorView;
using talmo::testing::part;
using talmo::testing::readFile;
using talmo::testing::WindowFixture;
using talmo::testing::writeFile;

namespace {

std::string tenLines() {
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "line" + std::to_string(i) + "\r\n";
    return text;
}

std::vector<std::pair<QString, std::string>> mod() {
    return {{QStringLiteral("defs.qc"), "float time;\r\nvoid() main = {};\r\n"},
            {QStringLiteral("ten.qc"), tenLines()}};
}

} // namespace

class WindowCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void typingMarksThePageButArrowsDoNot();
    void keyDownTurnsTheSelectionBlueButMenuShortcutsDoNot();
    void caretIndicatorCountsLinesAsAPersonDoes();
    void headBoxInsertsAFirstLine();
    void goToLineSkipsLines();
    void goToLineWithANonNumberReportsAnError();
    void clipboardAndHelpEntries();
    void textWithoutABytePastedOrTypedIsLogged();
    void createNewWritesAHeaderedFile();
    void deleteRenamesToBakAndNeverOverwrites();
};

void WindowCommandsTest::typingMarksThePageButArrowsDoNot() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit defs.qc"));
    editor(w)->setFocus();
    QTest::keyClick(editorView(w), Qt::Key_Down);
    QTest::keyClick(editorView(w), Qt::Key_Right);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit defs.qc"));
    QTest::keyClick(editorView(w), Qt::Key_X);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("[ &Edit defs.qc]"));
    // Typed text is blue.
    const long typed = editor(w)->selectionStart() - 1;
    QCOMPARE(editor(w)->text().at(static_cast<std::size_t>(typed)), 'x');
    QVERIFY(editor(w)->formatAt(typed).colour == talmo::kBlue);
}

void WindowCommandsTest::keyDownTurnsTheSelectionBlueButMenuShortcutsDoNot() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editor(w)->setFocus();

    // "float" selected, then Ctrl+C: the menu takes it; colour and caption stay.
    editor(w)->setSelectionStart(0);
    editor(w)->setSelectionLength(5);
    QTest::keyClick(editorView(w), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(editor(w)->formatAt(0).colour != talmo::kBlue);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit defs.qc"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("float"));

    // Shift alone turns the selected word blue.
    QTest::keyClick(editorView(w), Qt::Key_Shift);
    QVERIFY(editor(w)->formatAt(0).colour == talmo::kBlue);
    QVERIFY(editor(w)->formatAt(4).colour == talmo::kBlue);
    QVERIFY(editor(w)->formatAt(5).colour != talmo::kBlue);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit defs.qc"));

    // An arrow does it too.
    editor(w)->setSelectionStart(6);
    editor(w)->setSelectionLength(4);
    QTest::keyClick(editorView(w), Qt::Key_Left);
    QVERIFY(editor(w)->formatAt(6).colour == talmo::kBlue);
}

void WindowCommandsTest::caretIndicatorCountsLinesAsAPersonDoes() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("ten.qc")));
    editor(w)->setFocus();
    editor(w)->setSelectionStart(0);
    QTest::keyClick(editorView(w), Qt::Key_Right);
    QCOMPARE(control<QLabel>(w, "editbar")->text(), QStringLiteral("[1/11]"));
    QTest::keyClick(editorView(w), Qt::Key_Down); // shows where the caret was before the key
    QCOMPARE(control<QLabel>(w, "editbar")->text(), QStringLiteral("[1/11]"));
    QTest::keyClick(editorView(w), Qt::Key_Down);
    QCOMPARE(control<QLabel>(w, "editbar")->text(), QStringLiteral("[2/11]"));
    // A click shows where it put the caret.
    QTest::mouseClick(editorView(w)->viewport(), Qt::LeftButton, {}, QPoint(60, 5));
    QCOMPARE(control<QLabel>(w, "editbar")->text(), QStringLiteral("[1/11]"));
}

void WindowCommandsTest::headBoxInsertsAFirstLine() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    const std::string before = editor(w)->text();
    f.type(control<QLineEdit>(w, "uptext"), QString(), true); // Enter in an empty box does nothing
    QCOMPARE(editor(w)->text(), before);
    f.type(control<QLineEdit>(w, "uptext"), QStringLiteral("// header"), true);
    QCOMPARE(editor(w)->text(), "// header\r\n" + before);
    QVERIFY(control<QLineEdit>(w, "uptext")->text().isEmpty());
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit defs.qc"));
}

void WindowCommandsTest::goToLineSkipsLines() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("ten.qc")));
    // Where the caret goes for which number is the go-to-line rule's own test.
    f.type(control<QLineEdit>(w, "num"), QStringLiteral("5"), true);
    QCOMPARE(editor(w)->selectionStart(), 5L * 7);
    QCOMPARE(editor(w)->selectionLength(), 1L);
    QVERIFY(control<QLineEdit>(w, "num")->text().isEmpty());
    QVERIFY(editorView(w)->hasFocus());
    f.type(control<QLineEdit>(w, "num"), QString(), true); // nothing happens
    QVERIFY(f.errors.isEmpty());
}

void WindowCommandsTest::goToLineWithANonNumberReportsAnError() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("ten.qc")));
    editor(w)->setSelectionStart(9);
    f.type(control<QLineEdit>(w, "num"), QStringLiteral("abc"), true);
    QCOMPARE(f.errors, QStringList{QStringLiteral("'abc' is not a valid integer value")});
    QCOMPARE(editor(w)->selectionStart(), 9L);
    QCOMPARE(control<QLineEdit>(w, "num")->text(), QStringLiteral("abc"));
}

void WindowCommandsTest::clipboardAndHelpEntries() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editor(w)->setFocus();
    editor(w)->setSelectionStart(0);
    editor(w)->setSelectionLength(6);
    QTest::keyClick(editorView(w), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("float "));
    QVERIFY(editor(w)->text().rfind("time;", 0) == 0);
    QTest::keyClick(editorView(w), Qt::Key_V, Qt::ControlModifier);
    QVERIFY(editor(w)->text().rfind("float time;", 0) == 0);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1),
             QStringLiteral("&Edit defs.qc")); // menu entries mark nothing

    QVERIFY(!control<QMenu>(w, "copypastertalmo")->actions().isEmpty());
    QVERIFY(control<QMenu>(w, "copypastertalmo")->actions().contains(control<QAction>(w, "help1")));
    QTest::keyClick(editorView(w), Qt::Key_F1);
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 7);
}

void WindowCommandsTest::textWithoutABytePastedOrTypedIsLogged() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editor(w)->setFocus();
    const std::string before = editor(w)->text();
    const QString refused = QStringLiteral(
        ":: Cannot use \"\u03a9\": the 8-bit text of the files has no such character; "
        "nothing was changed");
    QTest::sendKeyEvent(QTest::Click, editorView(w), Qt::Key_unknown, QStringLiteral("\u03a9"),
                        Qt::NoModifier);
    QCOMPARE(f.logLines().count(refused), 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("x\u03a9"));
    QTest::keyClick(editorView(w), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.logLines().count(refused), 2);
    QCOMPARE(editor(w)->text(), before);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit defs.qc"));
}

void WindowCommandsTest::createNewWritesAHeaderedFile() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(!control<QPushButton>(w, "create_new")->isEnabled());
    struct Case {
        const char* typed;
        const char* file;
    } cases[] = {{"weapons", "weapons.qc"}, {"weapons.QC", "weapons.QC.qc"}, {"a.qcx", "a.qcx"}};
    for (const Case& c : cases) {
        f.type(control<QLineEdit>(w, "newqc"), QString::fromLatin1(c.typed));
        QVERIFY(control<QPushButton>(w, "create_new")->isEnabled());
        QTest::mouseClick(control<QPushButton>(w, "create_new"), Qt::LeftButton);
        const std::string file = c.file;
        QCOMPARE(readFile(f.path(QString::fromLatin1(c.file))),
                 "/////////////////////\r\n//  \r\n//  " + file +
                     "\r\n//  \r\n/////////////////////\r\n");
        QVERIFY(control<QLineEdit>(w, "newqc")->text().isEmpty());
        QVERIFY(!control<QPushButton>(w, "create_new")->isEnabled());
        QVERIFY(!control<talmo::FileListBox>(w, "listado")
                     ->findItems(QString::fromLatin1(c.file), Qt::MatchExactly)
                     .isEmpty());
        QVERIFY(control<talmo::FileListBox>(w, "qclista")->selectedPath().isEmpty());
    }
    QVERIFY(!control<talmo::FileListBox>(w, "qclista")
                 ->findItems(QStringLiteral("weapons.qc"), Qt::MatchExactly)
                 .isEmpty());

    // A name that cannot be created goes to the error report and changes nothing else.
    f.type(control<QLineEdit>(w, "newqc"), QStringLiteral("missing/dir/x"));
    QTest::mouseClick(control<QPushButton>(w, "create_new"), Qt::LeftButton);
    QCOMPARE(f.errors.size(), 1);
    QCOMPARE(control<QLineEdit>(w, "newqc")->text(), QStringLiteral("missing/dir/x"));
}

void WindowCommandsTest::deleteRenamesToBakAndNeverOverwrites() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editorView(w)->typeText("edited ");
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    control<QAction>(w, "delete1")->trigger();
    const QString defs = f.path(QStringLiteral("defs.qc"));
    QCOMPARE(f.logLines().last(), QStringLiteral("Rename file ") + defs + QStringLiteral(" ok."));
    QVERIFY(!QFile::exists(defs));
    QVERIFY(QFile::exists(defs + QStringLiteral(".bak")));
    QCOMPARE(currentFile(w), defs);
    QVERIFY(control<talmo::FileListBox>(w, "qclista")
                ->findItems(QStringLiteral("defs.qc"), Qt::MatchExactly)
                .isEmpty());

    // The next switch writes the editor's text back under the old name.
    QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("ten.qc")));
    QCOMPARE(readFile(defs), std::string("edited float time;\r\nvoid() main = {};\r\n"));

    // A second delete meets the existing .bak: error, nothing lost.
    part<talmo::FilePanel>(w)->RefreshFileLists();
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    control<QAction>(w, "delete1")->trigger();
    QCOMPARE(f.logLines().last(),
             QStringLiteral("Rename file ") + defs + QStringLiteral(" error!"));
    QCOMPARE(readFile(defs + QStringLiteral(".bak")),
             std::string("float time;\r\nvoid() main = {};\r\n"));
    QVERIFY(QFile::exists(defs));

    // Nothing selected.
    part<talmo::FilePanel>(w)->RefreshFileLists();
    control<QAction>(w, "delete1")->trigger();
    QCOMPARE(f.logLines().last(), QStringLiteral("Rename file  error!"));
}

QTEST_MAIN(WindowCommandsTest)
#include "window_commands_test.moc"
