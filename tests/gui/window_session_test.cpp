// SPDX-License-Identifier: GPL-3.0-or-later
// The window's wiring of the edit session and of the text boundary: one test
// per rule (the rules themselves are tested on the session and the codec).
#include "WindowFixture.h"

#include "FileListBox.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <unistd.h>

using talmo::testing::control;
using talmo::testing::currentFile;
using talmo::testing::editor;
using talmo::testing::editorView;
using talmo::testing::readFile;
using talmo::testing::WindowFixture;
using talmo::testing::writeFile;

namespace {

const std::string kDefs = ".float health;\r\nvoid() think;\r\n";

void retype(WindowFixture& f, QLineEdit* box, const QString& text) {
    box->clear();
    f.type(box, text);
}

} // namespace

class WindowSessionTest : public QObject {
    Q_OBJECT
private slots:
    void anOutsideChangeIsFollowedWhileUntouchedAndKeptWhenEdited();
    void editReportWhileTheReportIsLoadedShowsTheNewOne();
    void compileWritesTheEditedFileFirstAndReplacesAPlantedLink();
    void typedCharactersMapToTheirBytesOrAreRefused();
    void theManPageSavesEveryByteOrNothing();
    void profilesKeepNamesAndValuesInTheFileNameEncoding();
    void reportEntriesOfNonAsciiFilesShowAndOpenThem();
};

void WindowSessionTest::anOutsideChangeIsFollowedWhileUntouchedAndKeptWhenEdited() {
    WindowFixture f({{QStringLiteral("defs.qc"), kDefs}, {QStringLiteral("b.qc"), "b\r\n"}});
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    writeFile(f.path(QStringLiteral("defs.qc")), "float armor;\r\n");
    QTRY_COMPARE(editor(w)->text(), std::string("float armor;\r\n"));

    editor(w)->setSelectionStart(0);
    editorView(w)->typeText("mine ");
    writeFile(f.path(QStringLiteral("defs.qc")), "theirs\r\n");
    QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("b.qc")));
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), std::string("theirs\r\n"));
    const QString kept = f.path(QStringLiteral("defs.qc.recovered"));
    QVERIFY(
        f.logLines().contains(QStringLiteral(":: Changed on disk, your text kept in: ") + kept));
    QCOMPARE(readFile(kept), std::string("mine float armor;\r\n"));
}

void WindowSessionTest::editReportWhileTheReportIsLoadedShowsTheNewOne() {
    WindowFixture f({{QStringLiteral("defs.qc"), kDefs}});
    TForm1& w = f.window();
    QTest::mouseClick(control<QPushButton>(w, "EditReport"), Qt::LeftButton);
    QCOMPARE(currentFile(w), f.path(QStringLiteral("talmo.report.txt")));
    QTest::mouseClick(control<QPushButton>(w, "atribgen"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(w, "EditReport"), Qt::LeftButton);
    const std::string report = readFile(f.path(QStringLiteral("talmo.report.txt")));
    QVERIFY(report.find("defs.qc - .float health;") != std::string::npos);
    QCOMPARE(editor(w)->text(), report);
}

void WindowSessionTest::compileWritesTheEditedFileFirstAndReplacesAPlantedLink() {
    WindowFixture f({{QStringLiteral("defs.qc"), kDefs}, {QStringLiteral("target.txt"), "keep"}});
    TForm1& w = f.window();
    QVERIFY(::symlink("target.txt", QFile::encodeName(f.path(QStringLiteral("qcc.bat")))) == 0);
    QVERIFY(::symlink("target.txt", QFile::encodeName(f.path(QStringLiteral("log")))) == 0);
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editor(w)->setSelectionStart(0);
    editorView(w)->typeText("// compiled ");
    control<QLineEdit>(w, "compilerqc")->setText(QStringLiteral("true"));
    QTest::mouseClick(control<QPushButton>(w, "qccarranca"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))), "// compiled " + kDefs);
    QCOMPARE(editor(w)->selectionStart(), 12L); // the save leaves the caret where it was
    QVERIFY(!QFileInfo(f.path(QStringLiteral("qcc.bat"))).isSymLink());
    // Nor is the compile's output written through a planted link.
    QVERIFY(!QFileInfo(f.path(QStringLiteral("log"))).isSymLink());
    QCOMPARE(readFile(f.path(QStringLiteral("target.txt"))), std::string("keep"));
}

void WindowSessionTest::typedCharactersMapToTheirBytesOrAreRefused() {
    WindowFixture f({{QStringLiteral("a.qc"), "price 5\x80 \x80\r\n"}});
    TForm1& w = f.window();
    QVERIFY(f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("a.qc")));
    retype(f, control<QLineEdit>(w, "searchfor"), QString::fromUtf16(u"\u20AC"));
    retype(f, control<QLineEdit>(w, "replaceby"), QString::fromUtf16(u"\u2014"));
    QTest::mouseClick(control<QPushButton>(w, "Button4"), Qt::LeftButton);
    QCOMPARE(editor(w)->text(), std::string("price 5\x97 \x97\r\n"));

    const std::string before = editor(w)->text();
    retype(f, control<QLineEdit>(w, "replaceby"), QString::fromUtf16(u"\u0416"));
    QTest::mouseClick(control<QPushButton>(w, "Button4"), Qt::LeftButton);
    QCOMPARE(editor(w)->text(), before);
    QVERIFY(f.logLines().last().contains(QString::fromUtf16(u"\"\u0416\"")));
}

void WindowSessionTest::theManPageSavesEveryByteOrNothing() {
    const std::string bytes = "a\xA0"
                              "b\x85\r\nlast";
    WindowFixture f({{QStringLiteral("n.txt"), bytes}, {QStringLiteral("z.txt"), "x\0y"}});
    TForm1& w = f.window();
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "listado"), QStringLiteral("n.txt")));
    control<QPlainTextEdit>(w, "test")->appendPlainText(QStringLiteral("\u00A0!"));
    QTest::mouseClick(control<QPushButton>(w, "salvaman"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("n.txt"))), bytes + "\r\n\xA0!");

    // The page holds the file only up to its NUL byte: it is never saved over it.
    writeFile(f.path(QStringLiteral("z.txt")), std::string("x\0y", 3));
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "listado"), QStringLiteral("z.txt")));
    control<QPlainTextEdit>(w, "test")->appendPlainText(QStringLiteral("more"));
    QTest::mouseClick(control<QPushButton>(w, "salvaman"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("z.txt"))), std::string("x\0y", 3));
    QVERIFY(f.logLines().last().startsWith(QStringLiteral("Save fail!!: ")));
}

void WindowSessionTest::profilesKeepNamesAndValuesInTheFileNameEncoding() {
    WindowFixture f(
        {{QStringLiteral("old.qprofile"), "configfile : old.qprofile\r\nqc compiler: q\xE9\r\n"}});
    TForm1& w = f.window();
    const QString name = QString::fromUtf16(u"\u042E\u0440\u0438\u0439.qprofile");
    const QString path = QString::fromUtf16(u"/home/\u042E\u0440\u0438\u0439/quake");
    control<QLineEdit>(w, "savename")->setText(name);
    control<QLineEdit>(w, "pathquake")->setText(path);
    QTest::mouseClick(control<QPushButton>(w, "Button2"), Qt::LeftButton);
    QVERIFY(readFile(f.path(name)).find(path.toStdString()) != std::string::npos);
    QTest::mouseClick(control<QPushButton>(w, "Button1"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(w, "savename")->text(), name);
    QCOMPARE(control<QLineEdit>(w, "pathquake")->text(), path);

    // An older profile in Latin-1 still loads, byte for byte.
    QVERIFY(
        f.clickItem(control<talmo::FileListBox>(w, "profiles"), QStringLiteral("old.qprofile")));
    QTest::mouseClick(control<QPushButton>(w, "Button1"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(w, "compilerqc")->text(), QString::fromUtf16(u"q\u00E9"));
}

void WindowSessionTest::reportEntriesOfNonAsciiFilesShowAndOpenThem() {
    const QString dir = QString::fromUtf16(u"\u042E\u0440\u0438\u0439");
    const QString name = QString::fromUtf16(u"\u00E9.qc");
    WindowFixture f({{dir + u'/' + name, "void() \xE9t\xE9 =\r\n{};\r\n"}});
    TForm1& w = f.window();
    f.enterDirectory(f.path(dir));
    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    const QString entry = name + QString::fromUtf16(u" - void() \u00E9t\u00E9 =");
    QVERIFY(f.doubleClickItem(control<QListWidget>(w, "reportlist"), entry));
    QCOMPARE(currentFile(w), QDir(f.path(dir)).filePath(name));
    QCOMPARE(editor(w)->text(), std::string("void() \xE9t\xE9 =\r\n{};\r\n"));
}

QTEST_MAIN(WindowSessionTest)
#include "window_session_test.moc"
