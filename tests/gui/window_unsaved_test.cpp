// SPDX-License-Identifier: GPL-3.0-or-later
// The window's wiring of unsaved work: the journal and the recover bar, the
// Man page's save and a file made again under the edited name (a failed
// load: window_browse_test). The rules are tested on the edit session, the
// edit controller (a switch refused when the text is nowhere else) and the
// file functions.
#include "WindowFixture.h"

#include "FileListBox.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

using talmo::testing::editorView;
using talmo::testing::readFile;
using talmo::testing::WindowFixture;
using talmo::testing::writeFile;

namespace {

QString journalFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/journal");
}

int journalCount() {
    return static_cast<int>(QDir(journalFolder()).entryList(QDir::Files).size());
}

} // namespace

class WindowUnsavedTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QDir(journalFolder()).removeRecursively(); }
    void aJournalOfEditedTextIsOfferedAgainAndRecovered();
    void discardRemovesTheOffer();
    void theManPageKeepsAFileChangedSinceItWasShown();
    void anEditorFollowsItsFileAfterItIsMadeAgain();
};

void WindowUnsavedTest::aJournalOfEditedTextIsOfferedAgainAndRecovered() {
    const std::string old = "old \xA0\x80\r\n";
    WindowFixture f({{QStringLiteral("\u00F1.qc"), old}, {QStringLiteral("b.qc"), "b\r\n"}});
    QVERIFY(
        f.doubleClickItem(f.control<talmo::FileListBox>("qclista"), QStringLiteral("\u00F1.qc")));
    QTest::keyClicks(editorView(f.window()), QStringLiteral("typed "));
    QTRY_COMPARE_WITH_TIMEOUT(journalCount(), 1, 3000);

    // The next run in that directory (as after a crash: no autosave).
    f.control<QCheckBox>("auto")->setChecked(false);
    f.closeWindow();
    WindowFixture again;
    again.enterDirectory(f.dir());
    auto* bar = again.control<QWidget>("recoverbar");
    QVERIFY(bar->isVisible());
    QVERIFY(bar->findChild<QLabel*>()->text().contains(QStringLiteral("\u00F1.qc")));
    QTest::mouseClick(again.control<QPushButton>("recover"), Qt::LeftButton);
    QVERIFY(!bar->isVisible());
    QCOMPARE(talmo::testing::editor(again.window())->text(), "typed " + old);
    QCOMPARE(again.control<QTabWidget>("Manager")->tabText(1),
             QStringLiteral("[ &Edit \u00F1.qc]"));
    QCOMPARE(readFile(f.path(QStringLiteral("\u00F1.qc"))), old); // nothing written yet
    QVERIFY(again.doubleClickItem(again.control<talmo::FileListBox>("qclista"),
                                  QStringLiteral("b.qc")));
    QCOMPARE(readFile(f.path(QStringLiteral("\u00F1.qc"))), "typed " + old);
    QTRY_COMPARE(journalCount(), 0);
}

void WindowUnsavedTest::discardRemovesTheOffer() {
    WindowFixture f({{QStringLiteral("a.qc"), "a\r\n"}});
    QVERIFY(f.doubleClickItem(f.control<talmo::FileListBox>("qclista"), QStringLiteral("a.qc")));
    QTest::keyClicks(editorView(f.window()), QStringLiteral("x"));
    f.control<QCheckBox>("auto")->setChecked(false);
    f.closeWindow(); // closing keeps what it could not write
    QCOMPARE(journalCount(), 1);
    WindowFixture again;
    again.enterDirectory(f.dir());
    QTest::mouseClick(again.control<QPushButton>("discard"), Qt::LeftButton);
    QVERIFY(!again.control<QWidget>("recoverbar")->isVisible());
    QCOMPARE(journalCount(), 0);
    QCOMPARE(readFile(f.path(QStringLiteral("a.qc"))), std::string("a\r\n"));
}

void WindowUnsavedTest::theManPageKeepsAFileChangedSinceItWasShown() {
    WindowFixture f({{QStringLiteral("n.txt"), "shown\r\n"}});
    QVERIFY(f.clickItem(f.control<talmo::FileListBox>("listado"), QStringLiteral("n.txt")));
    f.control<QPlainTextEdit>("test")->appendPlainText(QStringLiteral("mine"));
    writeFile(f.path(QStringLiteral("n.txt")), "theirs\r\n");
    QTest::mouseClick(f.control<QPushButton>("salvaman"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("n.txt"))), std::string("theirs\r\n"));
    const QString kept = f.path(QStringLiteral("n.txt.recovered"));
    QCOMPARE(f.logLines().last(), QStringLiteral(":: Changed on disk, your text kept in: ") + kept);
    QCOMPARE(readFile(kept), std::string("shown\r\n\r\nmine"));
}

void WindowUnsavedTest::anEditorFollowsItsFileAfterItIsMadeAgain() {
    WindowFixture f({{QStringLiteral("a.qc"), "a\r\n"}});
    QVERIFY(f.doubleClickItem(f.control<talmo::FileListBox>("qclista"), QStringLiteral("a.qc")));
    auto* editor = talmo::testing::editor(f.window());
    QFile::remove(f.path(QStringLiteral("a.qc")));
    QTest::qWait(50);
    writeFile(f.path(QStringLiteral("a.qc")), "again\r\n");
    QTRY_COMPARE(editor->text(), std::string("again\r\n"));
    writeFile(f.path(QStringLiteral("a.qc")), "and again\r\n");
    QTRY_COMPARE(editor->text(), std::string("and again\r\n"));
}

QTEST_MAIN(WindowUnsavedTest)
#include "window_unsaved_test.moc"
