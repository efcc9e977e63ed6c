// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation across a mod through the window: F12 to a body in another file
// and Alt+Left back, Shift+F12 into the message list, and a name unknown to
// the index of the working directory.
#include "WindowFixture.h"

#include "MessageList.h"
#include "NavigationController.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListView>
#include <QTest>

#include <chrono>
#include <filesystem>
#include <fstream>

using talmo::testing::control;
using talmo::testing::currentFile;
using talmo::testing::editor;
using talmo::testing::editorView;
using talmo::testing::openFile;
using talmo::testing::part;
using talmo::testing::readFile;
using talmo::testing::WindowFixture;

namespace {

std::vector<std::pair<QString, std::string>> exampleMod() {
    std::vector<std::pair<QString, std::string>> files;
    const QDir dir(QStringLiteral(TALMO_SOURCE_DIR "/examples/mod"));
    const QStringList names = dir.entryList({QStringLiteral("*.qc"), QStringLiteral("progs.src")});
    for (const QString& name : names)
        files.emplace_back(name, readFile(dir.filePath(name)));
    return files;
}

// Opens `file` in the editor of an active window once the mod is indexed.
TForm1& openIndexed(WindowFixture& f, const QString& file) {
    TForm1& w = f.window();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        qWarning("window not active");
    if (!QTest::qWaitFor([&] { return part<talmo::NavigationController>(w)->indexReady(); }, 10000))
        qFatal("the mod was not indexed");
    if (!openFile(w, f.path(file)))
        qFatal("cannot open %s", qPrintable(file));
    editor(w)->setFocus();
    return w;
}

// The editor position of the `nth` (1-based) whole occurrence of `word`.
long positionOf(const std::string& text, const std::string& word, int nth = 1) {
    std::size_t at = std::string::npos;
    for (int i = 0; i < nth; ++i)
        at = text.find(word, at == std::string::npos ? 0 : at + 1);
    return static_cast<long>(at);
}

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

class WindowNavigationTest : public QObject {
    Q_OBJECT
private slots:
    void f12OnACallOpensTheBodyInAnotherFileAndAltLeftComesBack();
    void ctrlClickOnANameGoesToItsDefinition();
    void severalDefinitionsAreListedAndTheFirstOpened();
    void f12OnAFrameNameOpensItsOwnFilesFrameLine();
    void aFileNamedInLatin1OpensFromF12AndFromTheList();
    void shiftF12ListsTheUsagesOfTheModWithTheirCount();
    void aNewWorkingDirectoryIsIndexedOnItsOwnAndAnUnknownNameMovesNothing();
    void ctrlSpaceCompletesANameAndAParenthesisShowsItsPrototype();
};

void WindowNavigationTest::f12OnACallOpensTheBodyInAnotherFileAndAltLeftComesBack() {
    WindowFixture f(exampleMod());
    TForm1& w = openIndexed(f, QStringLiteral("floater.qc"));
    const long caret = positionOf(editor(w)->text(), "SUB_SkippedBySkill") + 4;
    editor(w)->setSelectionStart(caret);
    QCOMPARE(part<talmo::NavigationController>(w)->definitionTip(caret),
             QStringLiteral("subs.qc:51  float() SUB_SkippedBySkill ="));

    QTest::keyClick(editorView(w), Qt::Key_F12);
    QCOMPARE(fileName(currentFile(w)), QStringLiteral("subs.qc"));
    const long body = positionOf(editor(w)->text(), "float() SUB_SkippedBySkill =") + 8;
    QCOMPARE(editor(w)->selectionStart(), body);
    QCOMPARE(editor(w)->selectionLength(), 18L);

    QTest::keyClick(editorView(w), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(fileName(currentFile(w)), QStringLiteral("floater.qc"));
    QCOMPARE(editor(w)->selectionStart(), caret);

    QTest::keyClick(editorView(w), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(fileName(currentFile(w)), QStringLiteral("subs.qc"));
    QCOMPARE(editor(w)->selectionStart(), body);
}

void WindowNavigationTest::ctrlClickOnANameGoesToItsDefinition() {
    WindowFixture f(exampleMod());
    TForm1& w = openIndexed(f, QStringLiteral("floater.qc"));
    const long at = positionOf(editor(w)->text(), "SUB_SkippedBySkill") + 2;
    editor(w)->setSelectionStart(at);
    editorView(w)->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
    const QPoint point(static_cast<int>(editorView(w)->SendScintilla(
                           QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, at)),
                       static_cast<int>(editorView(w)->SendScintilla(
                           QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, at)) +
                           3);
    QTest::mouseClick(editorView(w)->viewport(), Qt::LeftButton, Qt::ControlModifier, point);
    QTRY_COMPARE(fileName(currentFile(w)), QStringLiteral("subs.qc"));
}

void WindowNavigationTest::severalDefinitionsAreListedAndTheFirstOpened() {
    WindowFixture f({{QStringLiteral("progs.src"), "progs.dat\nb.qc\na.qc\nc.qc\n"},
                     {QStringLiteral("a.qc"), "float twice;\n"},
                     {QStringLiteral("b.qc"), "\nentity twice;\n"},
                     {QStringLiteral("c.qc"), "float z = twice;\n"}});
    TForm1& w = openIndexed(f, QStringLiteral("c.qc"));
    QVERIFY(part<talmo::NavigationController>(w)->goToDefinitionAt(
        positionOf(editor(w)->text(), "twice")));

    QCOMPARE(fileName(currentFile(w)), QStringLiteral("b.qc"));
    QCOMPARE(editor(w)->selectionStart(), positionOf(editor(w)->text(), "twice"));
    QCOMPARE(WindowFixture::rowsOf(f.control<QListView>("qccmessages")).first(),
             QStringLiteral("2 definitions of twice"));
    QCOMPARE(control<talmo::MessageList>(w, "messagelist")->messages().size(), std::size_t{2});
    QCOMPARE(control<talmo::MessageList>(w, "messagelist")->messages()[1].file,
             std::filesystem::path("a.qc"));
}

void WindowNavigationTest::f12OnAFrameNameOpensItsOwnFilesFrameLine() {
    WindowFixture f({{QStringLiteral("progs.src"), "progs.dat\nplayer.qc\nzombie.qc\n"},
                     {QStringLiteral("player.qc"), "$frame stand1 stand2\n"},
                     {QStringLiteral("zombie.qc"),
                      "// the zombie\n$frame stand1\nvoid() z = [$stand1, z] {};\n"}});
    TForm1& w = openIndexed(f, QStringLiteral("zombie.qc"));
    editor(w)->setSelectionStart(positionOf(editor(w)->text(), "$stand1") + 3);
    QTest::keyClick(editorView(w), Qt::Key_F12);
    QCOMPARE(fileName(currentFile(w)), QStringLiteral("zombie.qc"));
    QCOMPARE(editor(w)->selectionStart(), positionOf(editor(w)->text(), "stand1"));
}

void WindowNavigationTest::aFileNamedInLatin1OpensFromF12AndFromTheList() {
    WindowFixture f({{QStringLiteral("use.qc"), "void() main = { later(); };\n"}});
    TForm1& w = openIndexed(f, QStringLiteral("use.qc"));
    // A name that is no UTF-8: "ma\xf1ana.qc" as an older system wrote it,
    // added once the mod is indexed; the folder's time moved on so that the
    // next look lists it whatever the clock's grain.
    const std::filesystem::path dir = f.dir().toStdString();
    const std::string name = std::string("ma") + '\xf1' + "ana.qc";
    std::ofstream(dir / name, std::ios::binary) << "void() later = {};\n";
    std::filesystem::last_write_time(dir,
                                     std::filesystem::last_write_time(dir) + std::chrono::hours(1));
    editor(w)->setSelectionStart(positionOf(editor(w)->text(), "later") + 1);
    QTest::keyClick(editorView(w), Qt::Key_F12);
    QCOMPARE(editor(w)->text(), std::string("void() later = {};\r\n"));
    QVERIFY(f.logLines().filter(QStringLiteral("fail")).isEmpty());

    QTest::keyClick(editorView(w), Qt::Key_F12, Qt::ShiftModifier);
    auto* list = f.control<QListView>("qccmessages");
    const QString inLatin1 = QStringLiteral("usage  ma\u00f1ana.qc:1:8  void() later = {};");
    QCOMPARE(
        WindowFixture::rowsOf(list).mid(1),
        (QStringList{inLatin1, QStringLiteral("usage  use.qc:1:17  void() main = { later(); };")}));
    QTest::keyClick(editorView(w), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(fileName(currentFile(w)), QStringLiteral("use.qc"));
    QVERIFY(f.doubleClickRow(list, inLatin1));
    QCOMPARE(editor(w)->text(), std::string("void() later = {};\r\n"));
}

void WindowNavigationTest::shiftF12ListsTheUsagesOfTheModWithTheirCount() {
    WindowFixture f(exampleMod());
    TForm1& w = openIndexed(f, QStringLiteral("subs.qc"));
    // The prototype in defs.qc, the body and one use in subs.qc; not
    // SUB_RemoveSoon.
    editor(w)->setSelectionStart(positionOf(editor(w)->text(), "= SUB_Remove;") + 2);
    QTest::keyClick(editorView(w), Qt::Key_F12, Qt::ShiftModifier);

    auto* list = f.control<QListView>("qccmessages");
    QVERIFY(list->isVisible());
    QCOMPARE(WindowFixture::rowsOf(list).first(),
             QStringLiteral("3 usages of SUB_Remove in 2 files"));
    QStringList places;
    for (const talmo::ListedMessage& m : control<talmo::MessageList>(w, "messagelist")->messages())
        places << talmo::messageKindName(m.kind) + QLatin1Char(' ') +
                      QString::fromStdString(m.file.string()) + QLatin1Char(':') +
                      QString::number(m.line);
    QCOMPARE(places,
             (QStringList{QStringLiteral("usage defs.qc:345"), QStringLiteral("usage subs.qc:8"),
                          QStringLiteral("usage subs.qc:17")}));
}

void WindowNavigationTest::aNewWorkingDirectoryIsIndexedOnItsOwnAndAnUnknownNameMovesNothing() {
    WindowFixture f({{QStringLiteral("top.qc"), "float topname;\n"},
                     {QStringLiteral("sub/x.qc"), "float subname = topname;\n"}});
    TForm1& w = openIndexed(f, QStringLiteral("sub/x.qc"));
    const long use = positionOf(editor(w)->text(), "topname") + 2;
    editor(w)->setSelectionStart(use);
    // Nothing to go back to yet.
    QTest::keyClick(editorView(w), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(editor(w)->selectionStart(), use);
    QVERIFY(part<talmo::NavigationController>(w)->goToDefinitionAt(use));
    QCOMPARE(fileName(currentFile(w)), QStringLiteral("top.qc"));

    f.enterDirectory(f.path(QStringLiteral("sub"))); // starts the new index
    QTRY_VERIFY(part<talmo::NavigationController>(w)->indexReady());
    QVERIFY(f.openSource(QStringLiteral("x.qc")));
    editor(w)->setFocus();
    editor(w)->setSelectionStart(use);
    QTest::keyClick(editorView(w), Qt::Key_F12);
    QCOMPARE(f.logLines().last(), QStringLiteral("No definition of topname in the mod"));
    QCOMPARE(fileName(currentFile(w)), QStringLiteral("x.qc"));
    QCOMPARE(editor(w)->selectionStart(), use);
}

void WindowNavigationTest::ctrlSpaceCompletesANameAndAParenthesisShowsItsPrototype() {
    WindowFixture f({{QStringLiteral("defs.qc"),
                      "float lantern_count;\r\nvoid(float n) lantern_light = {};\r\n"},
                     {QStringLiteral("main.qc"), "// caf\xE9\r\nvoid() main = {\r\n\r\n};\r\n"}});
    TForm1& w = openIndexed(f, QStringLiteral("main.qc"));
    talmo::QsciView* view = editorView(w);
    editor(w)->setSelectionStart(editor(w)->lineStart(2));
    QTest::keyClicks(view, QStringLiteral("la"));
    QVERIFY(!view->isCompletionShown()); // two characters open nothing
    QTest::keyClick(view, Qt::Key_Space, Qt::ControlModifier);
    QVERIFY(view->isCompletionShown());
    QTest::keyClick(view, Qt::Key_Down); // lantern_count, lantern_light
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(!view->isCompletionShown());
    QCOMPARE(editor(w)->text(),
             std::string("// caf\xE9\r\nvoid() main = {\r\nlantern_light\r\n};\r\n"));
    QTest::keyClick(view, Qt::Key_ParenLeft, Qt::NoModifier);
    QVERIFY(view->SendScintilla(QsciScintillaBase::SCI_CALLTIPACTIVE) != 0);
}

QTEST_MAIN(WindowNavigationTest)
#include "window_navigation_test.moc"
