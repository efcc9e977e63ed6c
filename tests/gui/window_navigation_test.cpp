// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation across a mod through the window: F12 to a body in another file
// and Alt+Left back, Shift+F12 into the message list, and a name unknown to
// the index of the working directory.
#include "WindowFixture.h"

#include "MessageList.h"
#include "QsciEditor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTest>

#include <filesystem>
#include <fstream>

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
    if (!QTest::qWaitFor([&] { return w.definitionIndexReady(); }, 10000))
        qFatal("the mod was not indexed");
    if (!w.openInEditor(f.path(file)))
        qFatal("cannot open %s", qPrintable(file));
    w.talmo->setFocus();
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
    void shiftF12ListsTheUsagesOfTheModWithTheirCount();
    void aNewWorkingDirectoryIsIndexedOnItsOwnAndAnUnknownNameMovesNothing();
    void aDefinitionMovedUnseenIsLookedForInTheFileAsLoaded();
};

void WindowNavigationTest::f12OnACallOpensTheBodyInAnotherFileAndAltLeftComesBack() {
    WindowFixture f(exampleMod());
    TForm1& w = openIndexed(f, QStringLiteral("floater.qc"));
    const long caret = positionOf(w.talmo->text(), "SUB_SkippedBySkill") + 4;
    w.talmo->setSelectionStart(caret);
    QCOMPARE(w.definitionTip(caret), QStringLiteral("subs.qc:51  float() SUB_SkippedBySkill ="));

    QTest::keyClick(w.talmo, Qt::Key_F12);
    QCOMPARE(fileName(w.currentFile()), QStringLiteral("subs.qc"));
    const long body = positionOf(w.talmo->text(), "float() SUB_SkippedBySkill =") + 8;
    QCOMPARE(w.talmo->selectionStart(), body);
    QCOMPARE(w.talmo->selectionLength(), 18L);

    QTest::keyClick(w.talmo, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(fileName(w.currentFile()), QStringLiteral("floater.qc"));
    QCOMPARE(w.talmo->selectionStart(), caret);

    QTest::keyClick(w.talmo, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(fileName(w.currentFile()), QStringLiteral("subs.qc"));
    QCOMPARE(w.talmo->selectionStart(), body);
}

void WindowNavigationTest::ctrlClickOnANameGoesToItsDefinition() {
    WindowFixture f(exampleMod());
    TForm1& w = openIndexed(f, QStringLiteral("floater.qc"));
    const long at = positionOf(w.talmo->text(), "SUB_SkippedBySkill") + 2;
    w.talmo->setSelectionStart(at);
    w.talmo->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
    const QPoint point(
        static_cast<int>(w.talmo->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, at)),
        static_cast<int>(w.talmo->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, at)) +
            3);
    QTest::mouseClick(w.talmo->viewport(), Qt::LeftButton, Qt::ControlModifier, point);
    QTRY_COMPARE(fileName(w.currentFile()), QStringLiteral("subs.qc"));
}

void WindowNavigationTest::severalDefinitionsAreListedAndTheFirstOpened() {
    WindowFixture f({{QStringLiteral("progs.src"), "progs.dat\nb.qc\na.qc\nc.qc\n"},
                     {QStringLiteral("a.qc"), "float twice;\n"},
                     {QStringLiteral("b.qc"), "\nentity twice;\n"},
                     {QStringLiteral("c.qc"), "float z = twice;\n"}});
    TForm1& w = openIndexed(f, QStringLiteral("c.qc"));
    QVERIFY(w.goToDefinitionAt(positionOf(w.talmo->text(), "twice")));

    QCOMPARE(fileName(w.currentFile()), QStringLiteral("b.qc"));
    QCOMPARE(w.talmo->selectionStart(), positionOf(w.talmo->text(), "twice"));
    QListWidget* list = f.control<QListWidget>("qccmessages");
    QCOMPARE(list->item(0)->text(), QStringLiteral("2 definitions of twice"));
    QCOMPARE(w.messageList->messages().size(), std::size_t{2});
    QCOMPARE(w.messageList->messages()[1].file, QStringLiteral("a.qc"));
}

void WindowNavigationTest::shiftF12ListsTheUsagesOfTheModWithTheirCount() {
    WindowFixture f(exampleMod());
    TForm1& w = openIndexed(f, QStringLiteral("subs.qc"));
    // The prototype in defs.qc, the body and one use in subs.qc; not
    // SUB_RemoveSoon.
    w.talmo->setSelectionStart(positionOf(w.talmo->text(), "= SUB_Remove;") + 2);
    QTest::keyClick(w.talmo, Qt::Key_F12, Qt::ShiftModifier);

    QListWidget* list = f.control<QListWidget>("qccmessages");
    QVERIFY(list->isVisible());
    QCOMPARE(list->item(0)->text(), QStringLiteral("3 usages of SUB_Remove in 2 files"));
    QStringList places;
    for (const talmo::ListedMessage& m : w.messageList->messages())
        places << m.kind + QLatin1Char(' ') + m.file + QLatin1Char(':') + QString::number(m.line);
    QCOMPARE(places,
             (QStringList{QStringLiteral("usage defs.qc:345"), QStringLiteral("usage subs.qc:8"),
                          QStringLiteral("usage subs.qc:17")}));
}

void WindowNavigationTest::aNewWorkingDirectoryIsIndexedOnItsOwnAndAnUnknownNameMovesNothing() {
    WindowFixture f({{QStringLiteral("top.qc"), "float topname;\n"},
                     {QStringLiteral("sub/x.qc"), "float subname = topname;\n"}});
    TForm1& w = openIndexed(f, QStringLiteral("sub/x.qc"));
    const long use = positionOf(w.talmo->text(), "topname") + 2;
    w.talmo->setSelectionStart(use);
    // Nothing to go back to yet.
    QTest::keyClick(w.talmo, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(w.talmo->selectionStart(), use);
    QVERIFY(w.goToDefinitionAt(use));
    QCOMPARE(fileName(w.currentFile()), QStringLiteral("top.qc"));

    w.changeWorkingDirectory(f.path(QStringLiteral("sub"))); // starts the new index
    QTRY_VERIFY(w.definitionIndexReady());
    QVERIFY(w.openInEditor(f.path(QStringLiteral("sub/x.qc"))));
    w.talmo->setFocus();
    w.talmo->setSelectionStart(use);
    QTest::keyClick(w.talmo, Qt::Key_F12);
    QCOMPARE(f.logLines().last(), QStringLiteral("No definition of topname in the mod"));
    QCOMPARE(fileName(w.currentFile()), QStringLiteral("x.qc"));
    QCOMPARE(w.talmo->selectionStart(), use);
}

void WindowNavigationTest::aDefinitionMovedUnseenIsLookedForInTheFileAsLoaded() {
    WindowFixture f({{QStringLiteral("a.qc"), "\n\n\n\n    float target;"},
                     {QStringLiteral("b.qc"), "float z = target;\n"}});
    TForm1& w = openIndexed(f, QStringLiteral("b.qc"));
    // Rewritten with the same size and time, so the index cannot tell: the
    // place it knows (line 5, column 10) now lies past the end of the text.
    const std::filesystem::path a(QFile::encodeName(f.path(QStringLiteral("a.qc"))).toStdString());
    const auto time = std::filesystem::last_write_time(a);
    std::ofstream(a, std::ios::binary) << "float target;\n\n\n\n    ";
    std::filesystem::last_write_time(a, time);

    QVERIFY(w.goToDefinitionAt(positionOf(w.talmo->text(), "target")));
    QCOMPARE(fileName(w.currentFile()), QStringLiteral("a.qc"));
    QCOMPARE(w.talmo->selectionStart(), 6L);
}

QTEST_MAIN(WindowNavigationTest)
#include "window_navigation_test.moc"
