// SPDX-License-Identifier: GPL-3.0-or-later
// The window's browsing core driven as a user would: start-up, directory
// changes, preview, switch with autosave, the Man page, the log.
#include "WindowFixture.h"

#include "CmdPage.h"
#include "DirectoryList.h"
#include "EditController.h"
#include "FileListBox.h"
#include "FilePanel.h"
#include "ManPage.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using talmo::testing::control;
using talmo::testing::currentFile;
using talmo::testing::editor;
using talmo::testing::editorView;
using talmo::testing::part;
using talmo::testing::readFile;
using talmo::testing::WindowFixture;
using talmo::testing::writeFile;

namespace {

const std::string kDefs = "// defs\r\nfloat time;\r\nvoid() main = {};\r\n";
const std::string kWorld = "void() worldspawn =\n{\n\tmain();\n};\n"; // LF file

std::vector<std::pair<QString, std::string>> smallMod() {
    return {{QStringLiteral("defs.qc"), kDefs},
            {QStringLiteral("world.qc"), kWorld},
            {QStringLiteral("progs.src"), "progs.dat\r\ndefs.qc\r\nworld.qc\r\n"},
            {QStringLiteral("notes.txt"), "a note\n"},
            {QStringLiteral("Zeta.QC"), "float z;\r\n"},
            {QStringLiteral("image.pcx"), std::string("\x0a\x05\x01\x08\0\0\x01", 7)},
            {QStringLiteral("sub/inner.qc"), "float inner;\r\n"}};
}

QStringList names(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

class WindowBrowseTest : public QObject {
    Q_OBJECT
private slots:
    void startsOnTheCurrentDirectory();
    void fileListsFollowMasksAndSortWithoutCase();
    void directoryChangesByPathsrcAndByDirList();
    void refreshFileListsShowsAllFilesWhateverTheFilter();
    void previewShowsDiskTextAndFramesTheEditedFile();
    void switchAutosavesTheEditedFile();
    void switchWithAutosaveOffWritesNothing();
    void emptyEditorIsNotAutosaved();
    void untouchedFilesKeepTheirBytesAcrossASwitch();
    void failedPreviewNeverBlocksTheAutosave();
    void unreadableFileByPermissions();
    void refreshWithNothingSelected();
    void caretIsRestoredAndClampedToTheEnd();
    void manPageLoadsAndSavesGeneralFiles();
    void logKeepsAtMost801Lines();
    void closingAutosavesWhenAutosaveIsOn();
    void failedAutosaveKeepsARecoveryCopy();
    void hostileFilesEndInLogLinesNotCrashes();
    void largeDirectoryListsQuickly();
};

void WindowBrowseTest::startsOnTheCurrentDirectory() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    QCOMPARE(w.windowTitle(),
             QStringLiteral(":: T A L M O :: - ") + QDir::toNativeSeparators(f.dir()));
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 1);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit"));
    QCOMPARE(f.logLines(), (QStringList{QStringLiteral(" :: T A L M O ::.. "),
                                        QStringLiteral("  Console Subsystem."),
                                        QStringLiteral(" { This version as not real functions }"),
                                        QStringLiteral(">")}));
    QVERIFY(control<QCheckBox>(w, "auto")->isChecked());
    QCOMPARE(control<QCheckBox>(w, "auto")->objectName(), QStringLiteral("auto"));
    QCOMPARE(w.size(), QSize(657, 545));
    QCOMPARE(control<QTabWidget>(w, "TabbedNotebook1")->currentIndex(), 0);
    QVERIFY(!control<QPushButton>(w, "create_new")->isEnabled());
}

void WindowBrowseTest::fileListsFollowMasksAndSortWithoutCase() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    QCOMPARE(names(control<talmo::FileListBox>(w, "qclista")),
             (QStringList{QStringLiteral("defs.qc"), QStringLiteral("notes.txt"),
                          QStringLiteral("progs.src"), QStringLiteral("world.qc"),
                          QStringLiteral("Zeta.QC")}));
    QCOMPARE(names(control<talmo::FileListBox>(w, "listado")).size(), 6); // no directories
    // Choosing a filter re-reads listado with its mask.
    control<QComboBox>(w, "FilterComboBox1")->setCurrentIndex(1);
    emit control<QComboBox>(w, "FilterComboBox1")->activated(1);
    QCOMPARE(names(control<talmo::FileListBox>(w, "listado")),
             QStringList{QStringLiteral("progs.src")});
}

void WindowBrowseTest::directoryChangesByPathsrcAndByDirList() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    const QString sub = QDir::toNativeSeparators(f.path(QStringLiteral("sub")));

    f.type(control<QLineEdit>(w, "pathsrc"), sub, true);
    QCOMPARE(w.windowTitle(), QStringLiteral(":: T A L M O :: - ") + sub);
    QCOMPARE(names(control<talmo::FileListBox>(w, "qclista")),
             QStringList{QStringLiteral("inner.qc")});
    QCOMPARE(names(control<talmo::FileListBox>(w, "listado")),
             QStringList{QStringLiteral("inner.qc")});
    QCOMPARE(control<talmo::FileListBox>(w, "xxtfilebox")->directory(), sub);
    QCOMPARE(QDir::toNativeSeparators(QDir::currentPath()), sub);
    QVERIFY(control<talmo::FileListBox>(w, "profiles")->directory() != sub);

    // Double click on the parent entry of the directory list goes back up.
    const QString top = QDir::toNativeSeparators(f.dir());
    QListWidgetItem* parentItem = nullptr;
    for (int i = 0; i < control<talmo::DirectoryList>(w, "dir")->count(); ++i)
        if (talmo::DirectoryList::pathOf(control<talmo::DirectoryList>(w, "dir")->item(i)) == top)
            parentItem = control<talmo::DirectoryList>(w, "dir")->item(i);
    QVERIFY(parentItem);
    const QPoint at = control<talmo::DirectoryList>(w, "dir")->visualItemRect(parentItem).center();
    QTest::mouseClick(control<talmo::DirectoryList>(w, "dir")->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w.windowTitle(),
             QStringLiteral(":: T A L M O :: - ") + sub); // a click only highlights
    QTest::mouseDClick(control<talmo::DirectoryList>(w, "dir")->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(control<talmo::DirectoryList>(w, "dir")->viewport(), Qt::LeftButton, {},
                        at);
    QCOMPARE(w.windowTitle(), QStringLiteral(":: T A L M O :: - ") + top);
    QVERIFY(names(control<talmo::FileListBox>(w, "qclista")).contains(QStringLiteral("defs.qc")));
}

void WindowBrowseTest::refreshFileListsShowsAllFilesWhateverTheFilter() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    control<QComboBox>(w, "FilterComboBox1")->setCurrentIndex(2);
    emit control<QComboBox>(w, "FilterComboBox1")->activated(2);
    QCOMPARE(names(control<talmo::FileListBox>(w, "listado")),
             QStringList{QStringLiteral("notes.txt")});
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    part<talmo::FilePanel>(w)->RefreshFileLists();
    QCOMPARE(names(control<talmo::FileListBox>(w, "listado")).size(), 6);
    QCOMPARE(control<QComboBox>(w, "FilterComboBox1")->currentIndex(), 2);
    QVERIFY(control<talmo::FileListBox>(w, "qclista")->selectedPath().isEmpty());
    QVERIFY(control<talmo::FileListBox>(w, "listado")->selectedPath().isEmpty());
}

void WindowBrowseTest::previewShowsDiskTextAndFramesTheEditedFile() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 2);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(2), QStringLiteral("&See world.qc"));
    QCOMPARE(editor(w, "veer")->text(),
             std::string("void() worldspawn =\r\n{\r\n\tmain();\r\n};\r\n"));
    QCOMPARE(control<QLineEdit>(w, "pathsrc")->text(), QDir::toNativeSeparators(f.dir()));
    QVERIFY(!(editorView(w, "veer")->frameShape() != QFrame::NoFrame));
    QVERIFY(editorView(w, "veer")->isReadOnly());

    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editor(w)->setSelectionStart(0);
    editorView(w)->typeText("X");
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    QVERIFY((editorView(w, "veer")->frameShape() != QFrame::NoFrame));
    QCOMPARE(editor(w, "veer")->text(), kDefs); // the disk's text, not the unsaved edit
}

void WindowBrowseTest::switchAutosavesTheEditedFile() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 1);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit defs.qc"));
    QCOMPARE(currentFile(w), f.path(QStringLiteral("defs.qc")));
    QCOMPARE(editor(w)->text(), kDefs);

    editor(w)->setFocus();
    editor(w)->setSelectionStart(0);
    QTest::keyClicks(editorView(w), QStringLiteral("ab"));
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), "ab" + kDefs);
    QVERIFY(f.logLines().contains(QStringLiteral(":: Autosaved: ") +
                                  f.path(QStringLiteral("defs.qc"))));
    QCOMPARE(currentFile(w), f.path(QStringLiteral("world.qc")));
    QVERIFY(!part<talmo::EditController>(w)->failed());
}

void WindowBrowseTest::switchWithAutosaveOffWritesNothing() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    control<QCheckBox>(w, "auto")->setChecked(false);
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editorView(w)->typeText("lost edit ");
    const int before = f.logLines().size();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), kDefs);
    QCOMPARE(f.logLines().size(), before);
}

void WindowBrowseTest::emptyEditorIsNotAutosaved() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editor(w)->setText("");
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), kDefs);
    QVERIFY(!f.logLines().contains(QStringLiteral(":: Autosaved: ") +
                                   f.path(QStringLiteral("defs.qc"))));
}

void WindowBrowseTest::untouchedFilesKeepTheirBytesAcrossASwitch() {
    const std::string mixed = "a\r\nb\nc";
    WindowFixture f({{QStringLiteral("crlf.qc"), kDefs},
                     {QStringLiteral("lf.qc"), kWorld},
                     {QStringLiteral("mixed.qc"), mixed}});
    TForm1& w = f.window();
    for (const char* name : {"lf.qc", "crlf.qc", "mixed.qc", "lf.qc"})
        QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"),
                                  QString::fromLatin1(name)));
    QCOMPARE(readFile(f.path(QStringLiteral("lf.qc"))), kWorld);
    QCOMPARE(readFile(f.path(QStringLiteral("crlf.qc"))), kDefs);
    QCOMPARE(readFile(f.path(QStringLiteral("mixed.qc"))), mixed);
    QVERIFY(!f.logLines().join(u'\n').contains(QStringLiteral("Autosaved")));

    // An edited LF file stays LF.
    editor(w)->setSelectionStart(0);
    editorView(w)->typeText("// top\r");
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("crlf.qc")));
    QCOMPARE(readFile(f.path(QStringLiteral("lf.qc"))), "// top\n" + kWorld);
}

void WindowBrowseTest::failedPreviewNeverBlocksTheAutosave() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editorView(w)->typeText("edit ");
    QVERIFY(QFile::remove(f.path(QStringLiteral("world.qc")))); // gone since the list was read
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    const QStringList lines = f.logLines();
    QCOMPARE(lines.count(QStringLiteral("Open fail!!: ")), 2); // click and selection change
    QCOMPARE(lines.last(), QStringLiteral("Load fail!!: "));
    QVERIFY(lines.contains(QStringLiteral(":: Autosaved: ") + f.path(QStringLiteral("defs.qc"))));
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), "edit " + kDefs);
    // The file being edited stays current: what is typed next is saved to it.
    QCOMPARE(currentFile(w), f.path(QStringLiteral("defs.qc")));
    QVERIFY(!part<talmo::EditController>(w)->failed());
    QCOMPARE(editor(w)->text(), "edit " + kDefs);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1),
             QStringLiteral("[ &Edit defs.qc]")); // as it was
    editorView(w)->typeText("more ");
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("notes.txt")));
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), "edit more " + kDefs);
}

void WindowBrowseTest::unreadableFileByPermissions() {
    if (::geteuid() == 0)
        QSKIP("permissions do not stop root from reading");
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    QFile::setPermissions(f.path(QStringLiteral("world.qc")), QFileDevice::Permissions());
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    QCOMPARE(f.logLines().last(), QStringLiteral("Load fail!!: "));
    QCOMPARE(currentFile(w), f.path(QStringLiteral("defs.qc")));
    QFile::setPermissions(f.path(QStringLiteral("world.qc")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void WindowBrowseTest::refreshWithNothingSelected() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editor(w)->setSelectionStart(0);
    editorView(w)->typeText("kept ");
    control<talmo::FileListBox>(w, "qclista")
        ->reread(); // as after a change of directory: nothing selected
    QTest::mouseClick(control<QPushButton>(w, "refresh"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), "kept " + kDefs);
    QCOMPARE(f.logLines().last(), QStringLiteral("Load fail!!: "));
    QCOMPARE(currentFile(w), f.path(QStringLiteral("defs.qc")));
    QCOMPARE(editor(w)->text(), "kept " + kDefs);
    editorView(w)->typeText("more ");
    const std::string typed = editor(w)->text();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), typed);
}

void WindowBrowseTest::caretIsRestoredAndClampedToTheEnd() {
    std::string longText;
    for (int i = 0; i < 100; ++i)
        longText += "float f" + std::to_string(i) + ";\r\n";
    WindowFixture f({{QStringLiteral("long.qc"), longText}, {QStringLiteral("short.qc"), "ab"}});
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("long.qc")));
    QCOMPARE(editor(w)->length(), 1190L);
    editor(w)->setSelectionStart(1100);
    QTest::mouseClick(control<QPushButton>(w, "refresh"),
                      Qt::LeftButton); // save and reload, caret kept
    QCOMPARE(editor(w)->selectionStart(), 1100L);
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("short.qc")));
    QCOMPARE(editor(w)->selectionStart(), 2L);
    QCOMPARE(editor(w)->selectionLength(), 0L);
}

void WindowBrowseTest::manPageLoadsAndSavesGeneralFiles() {
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    // Save before any load does nothing.
    const int before = f.logLines().size();
    QTest::mouseClick(control<QPushButton>(w, "salvaman"), Qt::LeftButton);
    QCOMPARE(f.logLines().size(), before);

    control<QTabWidget>(w, "TabbedNotebook1")->setCurrentIndex(1);
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "listado"), QStringLiteral("notes.txt")));
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 0);
    QCOMPARE(control<QPlainTextEdit>(w, "test")->toPlainText(), QStringLiteral("a note\n"));
    QCOMPARE(part<talmo::ManPage>(w)->manFile(), f.path(QStringLiteral("notes.txt")));
    QTest::mouseClick(control<QPushButton>(w, "salvaman"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("notes.txt"))), std::string("a note\n"));
    control<QPlainTextEdit>(w, "test")->moveCursor(QTextCursor::End);
    QTest::keyClicks(control<QPlainTextEdit>(w, "test"), QStringLiteral("more"));
    QTest::mouseClick(control<QPushButton>(w, "salvaman"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("notes.txt"))), std::string("a note\nmore"));

    // A binary file is shown up to its first NUL byte.
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "listado"), QStringLiteral("image.pcx")));
    QCOMPARE(control<QPlainTextEdit>(w, "test")->toPlainText(),
             QString::fromLatin1("\x0a\x05\x01\x08").replace(u'\x0a', u'\n'));
}

void WindowBrowseTest::logKeepsAtMost801Lines() {
    WindowFixture f;
    TForm1& w = f.window();
    talmo::CmdPage* cmd = part<talmo::CmdPage>(w);
    for (int i = 1; i <= 796; ++i)
        cmd->LogLine(QStringLiteral("line %1").arg(i));
    QCOMPARE(f.logLines().size(), 800);
    cmd->LogLine(QStringLiteral("line 797"));
    QCOMPARE(f.logLines().size(), 801);
    QCOMPARE(f.logLines().first(), QStringLiteral(" :: T A L M O ::.. "));
    cmd->LogLine(QStringLiteral("line 798"));
    QCOMPARE(f.logLines().size(), 801);
    QCOMPARE(f.logLines().first(), QStringLiteral("  Console Subsystem."));
    QCOMPARE(f.logLines().last(), QStringLiteral("line 798"));
    control<QPlainTextEdit>(w, "log")->clear();
    cmd->LogLine(QStringLiteral("Ok."));
    QCOMPARE(f.logLines(), QStringList{QStringLiteral("Ok.")});
}

void WindowBrowseTest::closingAutosavesWhenAutosaveIsOn() {
    {
        WindowFixture f(smallMod());
        QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(f.window(), "qclista"),
                                  QStringLiteral("defs.qc")));
        editorView(f.window())->typeText("closing ");
        f.closeWindow();
        QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), "closing " + kDefs);
    }
    {
        WindowFixture f(smallMod());
        QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(f.window(), "qclista"),
                                  QStringLiteral("defs.qc")));
        editorView(f.window())->typeText("dropped ");
        control<QCheckBox>(f.window(), "auto")->setChecked(false);
        f.closeWindow();
        QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), kDefs);
    }
}

void WindowBrowseTest::failedAutosaveKeepsARecoveryCopy() {
    QStandardPaths::setTestModeEnabled(true);
    WindowFixture f(smallMod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editorView(w)->typeText("precious ");
    // The file's place is taken by a directory: the write cannot succeed.
    QVERIFY(QFile::remove(f.path(QStringLiteral("defs.qc"))));
    QVERIFY(QDir(f.dir()).mkdir(QStringLiteral("defs.qc")));
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    const QStringList lines = f.logLines();
    const qsizetype failed = lines.indexOf(QStringLiteral("Autosaved fail!!: "));
    QVERIFY(failed >= 0);
    const QString kept = lines.at(failed + 1);
    QVERIFY(kept.startsWith(QStringLiteral(":: Unsaved text kept in: ")));
    const QString copy = kept.mid(QStringLiteral(":: Unsaved text kept in: ").size());
    QCOMPARE(readFile(copy), "precious " + kDefs);
    QFile::remove(copy);
    QCOMPARE(currentFile(w), f.path(QStringLiteral("world.qc"))); // the switch went on
}

void WindowBrowseTest::hostileFilesEndInLogLinesNotCrashes() {
    std::string allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes += static_cast<char>(i);
    std::string nuls(4096, '\0');
    std::string big(20 * 1024 * 1024, 'x');
    for (std::size_t i = 80; i < big.size(); i += 81)
        big[i] = '\n';
    WindowFixture f({{QStringLiteral("bytes.qc"), allBytes},
                     {QStringLiteral("nuls.qc"), nuls},
                     {QStringLiteral("big.txt"), big},
                     {QStringLiteral("name with blanks é.qc"), "float x;\r\n"}});
    TForm1& w = f.window();
    ::mkfifo(f.path(QStringLiteral("pipe.qc")).toLocal8Bit().constData(), 0644);
    part<talmo::FilePanel>(w)->RefreshFileLists();
    QVERIFY(!names(control<talmo::FileListBox>(w, "qclista")).contains(QStringLiteral("pipe.qc")));

    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("bytes.qc")));
    QCOMPARE(editor(w)->length(), 258L); // the lone LF and CR became CR LF each
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("nuls.qc")));
    QCOMPARE(readFile(f.path(QStringLiteral("bytes.qc"))), allBytes); // untouched: not rewritten
    QCOMPARE(editor(w)->length(), 4096L);
    QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"),
                              QStringLiteral("name with blanks é.qc")));
    QCOMPARE(readFile(f.path(QStringLiteral("nuls.qc"))), nuls);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1),
             QStringLiteral("&Edit name with blanks é.qc"));

    QElapsedTimer timer;
    timer.start();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("big.txt")));
    QCOMPARE(editor(w)->length(), static_cast<long>(big.size() + big.size() / 81));
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(f.errors.isEmpty());
}

void WindowBrowseTest::largeDirectoryListsQuickly() {
    WindowFixture f;
    for (int i = 0; i < 10000; ++i)
        writeFile(f.path(QStringLiteral("file%1.qc").arg(i, 5, 10, QLatin1Char('0'))), "x");
    QElapsedTimer timer;
    timer.start();
    part<talmo::FilePanel>(f.window())->RefreshFileLists();
    const qint64 ms = timer.elapsed();
    QCOMPARE(control<talmo::FileListBox>(f.window(), "qclista")->count(), 10000);
    // Four re-reads of 10,000 entries each.
    QVERIFY2(ms < 4000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
}

QTEST_MAIN(WindowBrowseTest)
#include "window_browse_test.moc"
