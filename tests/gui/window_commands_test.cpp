// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's commands through real keys and clicks: edited mark, blue
// typing, caret indicator, HEAD line, go to line, menu shortcuts, Create New
// and delete.
#include "WindowFixture.h"

#include "FileListBox.h"
#include "QsciEditor.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

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
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("defs.qc")));
    QCOMPARE(w.Manager->tabText(1), QStringLiteral("&Edit defs.qc"));
    w.talmo->setFocus();
    QTest::keyClick(w.talmo, Qt::Key_Down);
    QTest::keyClick(w.talmo, Qt::Key_Right);
    QCOMPARE(w.Manager->tabText(1), QStringLiteral("&Edit defs.qc"));
    QTest::keyClick(w.talmo, Qt::Key_X);
    QCOMPARE(w.Manager->tabText(1), QStringLiteral("[ &Edit defs.qc]"));
    // Typed text is blue.
    const long typed = w.talmo->selectionStart() - 1;
    QCOMPARE(w.talmo->text().at(static_cast<std::size_t>(typed)), 'x');
    QVERIFY(w.talmo->formatAt(typed).colour == talmo::kBlue);
}

void WindowCommandsTest::keyDownTurnsTheSelectionBlueButMenuShortcutsDoNot() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("defs.qc")));
    w.talmo->setFocus();

    // "float" selected, then Ctrl+C: the menu takes it; colour and caption stay.
    w.talmo->setSelectionStart(0);
    w.talmo->setSelectionLength(5);
    QTest::keyClick(w.talmo, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(w.talmo->formatAt(0).colour != talmo::kBlue);
    QCOMPARE(w.Manager->tabText(1), QStringLiteral("&Edit defs.qc"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("float"));

    // Shift alone turns the selected word blue.
    QTest::keyClick(w.talmo, Qt::Key_Shift);
    QVERIFY(w.talmo->formatAt(0).colour == talmo::kBlue);
    QVERIFY(w.talmo->formatAt(4).colour == talmo::kBlue);
    QVERIFY(w.talmo->formatAt(5).colour != talmo::kBlue);
    QCOMPARE(w.Manager->tabText(1), QStringLiteral("&Edit defs.qc"));

    // An arrow does it too.
    w.talmo->setSelectionStart(6);
    w.talmo->setSelectionLength(4);
    QTest::keyClick(w.talmo, Qt::Key_Left);
    QVERIFY(w.talmo->formatAt(6).colour == talmo::kBlue);
}

void WindowCommandsTest::caretIndicatorCountsLinesAsAPersonDoes() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("ten.qc")));
    w.talmo->setFocus();
    w.talmo->setSelectionStart(0);
    QTest::keyClick(w.talmo, Qt::Key_Right);
    QCOMPARE(w.editbar->text(), QStringLiteral("[1/11]"));
    QTest::keyClick(w.talmo, Qt::Key_Down); // shows where the caret was before the key
    QCOMPARE(w.editbar->text(), QStringLiteral("[1/11]"));
    QTest::keyClick(w.talmo, Qt::Key_Down);
    QCOMPARE(w.editbar->text(), QStringLiteral("[2/11]"));
    // A click shows where it put the caret.
    QTest::mouseClick(w.talmo->viewport(), Qt::LeftButton, {}, QPoint(60, 5));
    QCOMPARE(w.editbar->text(), QStringLiteral("[1/11]"));
}

void WindowCommandsTest::headBoxInsertsAFirstLine() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("defs.qc")));
    const std::string before = w.talmo->text();
    f.type(w.uptext, QString(), true); // Enter in an empty box does nothing
    QCOMPARE(w.talmo->text(), before);
    f.type(w.uptext, QStringLiteral("// header"), true);
    QCOMPARE(w.talmo->text(), "// header\r\n" + before);
    QVERIFY(w.uptext->text().isEmpty());
    QCOMPARE(w.Manager->tabText(1), QStringLiteral("&Edit defs.qc"));
}

void WindowCommandsTest::goToLineSkipsLines() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("ten.qc")));
    struct Case {
        const char* typed;
        long start;
        long length;
    } cases[] = {{"0", 0, 1}, {"5", 5 * 7, 1}, {"-3", 0, 1}, {"1000", 70, 0}, {" 2", 14, 1}};
    for (const Case& c : cases) {
        f.type(w.num, QString::fromLatin1(c.typed), true);
        QVERIFY2(w.talmo->selectionStart() == c.start, c.typed);
        QVERIFY2(w.talmo->selectionLength() == c.length, c.typed);
        QVERIFY(w.num->text().isEmpty());
    }
    QVERIFY(w.talmo->hasFocus());
    f.type(w.num, QString(), true); // nothing happens
    QVERIFY(f.errors.isEmpty());
}

void WindowCommandsTest::goToLineWithANonNumberReportsAnError() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("ten.qc")));
    w.talmo->setSelectionStart(9);
    f.type(w.num, QStringLiteral("abc"), true);
    QCOMPARE(f.errors, QStringList{QStringLiteral("'abc' is not a valid integer value")});
    QCOMPARE(w.talmo->selectionStart(), 9L);
    QCOMPARE(w.num->text(), QStringLiteral("abc"));
}

void WindowCommandsTest::clipboardAndHelpEntries() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("defs.qc")));
    w.talmo->setFocus();
    w.talmo->setSelectionStart(0);
    w.talmo->setSelectionLength(6);
    QTest::keyClick(w.talmo, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("float "));
    QVERIFY(w.talmo->text().rfind("time;", 0) == 0);
    QTest::keyClick(w.talmo, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(w.talmo->text().rfind("float time;", 0) == 0);
    QCOMPARE(w.Manager->tabText(1), QStringLiteral("&Edit defs.qc")); // menu entries mark nothing

    QVERIFY(!w.copypastertalmo->actions().isEmpty());
    QVERIFY(w.copypastertalmo->actions().contains(w.help1));
    QTest::keyClick(w.talmo, Qt::Key_F1);
    QCOMPARE(w.Manager->currentIndex(), 7);
}

void WindowCommandsTest::textWithoutABytePastedOrTypedIsLogged() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("defs.qc")));
    w.talmo->setFocus();
    const std::string before = w.talmo->text();
    const QString refused = QStringLiteral(
        ":: Cannot use \"\u03a9\": the 8-bit text of the files has no such character; "
        "nothing was changed");
    QTest::sendKeyEvent(QTest::Click, w.talmo, Qt::Key_unknown, QStringLiteral("\u03a9"),
                        Qt::NoModifier);
    QCOMPARE(f.logLines().count(refused), 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("x\u03a9"));
    QTest::keyClick(w.talmo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.logLines().count(refused), 2);
    QCOMPARE(w.talmo->text(), before);
    QCOMPARE(w.Manager->tabText(1), QStringLiteral("&Edit defs.qc"));
}

void WindowCommandsTest::createNewWritesAHeaderedFile() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(!w.create_new->isEnabled());
    struct Case {
        const char* typed;
        const char* file;
    } cases[] = {{"weapons", "weapons.qc"}, {"weapons.QC", "weapons.QC.qc"}, {"a.qcx", "a.qcx"}};
    for (const Case& c : cases) {
        f.type(w.newqc, QString::fromLatin1(c.typed));
        QVERIFY(w.create_new->isEnabled());
        QTest::mouseClick(w.create_new, Qt::LeftButton);
        const std::string file = c.file;
        QCOMPARE(readFile(f.path(QString::fromLatin1(c.file))),
                 "/////////////////////\r\n//  \r\n//  " + file +
                     "\r\n//  \r\n/////////////////////\r\n");
        QVERIFY(w.newqc->text().isEmpty());
        QVERIFY(!w.create_new->isEnabled());
        QVERIFY(!w.listado->findItems(QString::fromLatin1(c.file), Qt::MatchExactly).isEmpty());
        QVERIFY(w.qclista->selectedPath().isEmpty());
    }
    QVERIFY(!w.qclista->findItems(QStringLiteral("weapons.qc"), Qt::MatchExactly).isEmpty());

    // A name that cannot be created goes to the error report and changes nothing else.
    f.type(w.newqc, QStringLiteral("missing/dir/x"));
    QTest::mouseClick(w.create_new, Qt::LeftButton);
    QCOMPARE(f.errors.size(), 1);
    QCOMPARE(w.newqc->text(), QStringLiteral("missing/dir/x"));
}

void WindowCommandsTest::deleteRenamesToBakAndNeverOverwrites() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("defs.qc")));
    w.talmo->typeText("edited ");
    QVERIFY(f.clickItem(w.qclista, QStringLiteral("defs.qc")));
    w.delete1->trigger();
    const QString defs = f.path(QStringLiteral("defs.qc"));
    QCOMPARE(f.logLines().last(), QStringLiteral("Rename file ") + defs + QStringLiteral(" ok."));
    QVERIFY(!QFile::exists(defs));
    QVERIFY(QFile::exists(defs + QStringLiteral(".bak")));
    QCOMPARE(w.currentFile(), defs);
    QVERIFY(w.qclista->findItems(QStringLiteral("defs.qc"), Qt::MatchExactly).isEmpty());

    // The next switch writes the editor's text back under the old name.
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("ten.qc")));
    QCOMPARE(readFile(defs), std::string("edited float time;\r\nvoid() main = {};\r\n"));

    // A second delete meets the existing .bak: error, nothing lost.
    w.RefreshFileLists();
    QVERIFY(f.clickItem(w.qclista, QStringLiteral("defs.qc")));
    w.delete1->trigger();
    QCOMPARE(f.logLines().last(),
             QStringLiteral("Rename file ") + defs + QStringLiteral(" error!"));
    QCOMPARE(readFile(defs + QStringLiteral(".bak")),
             std::string("float time;\r\nvoid() main = {};\r\n"));
    QVERIFY(QFile::exists(defs));

    // Nothing selected.
    w.RefreshFileLists();
    w.delete1->trigger();
    QCOMPARE(f.logLines().last(), QStringLiteral("Rename file  error!"));
}

QTEST_MAIN(WindowCommandsTest)
#include "window_commands_test.moc"
