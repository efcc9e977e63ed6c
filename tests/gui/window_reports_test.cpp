// SPDX-License-Identifier: GPL-3.0-or-later
// Definition reports through the window: "funcs()" and ".atributes" over
// the files of the working directory, "Edit Report", and the double click on
// an entry; the failures that stop them with an error report.
#include "WindowFixture.h"

#include "FileListBox.h"
#include "FunctionCombo.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "RSearchPage.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
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

namespace {

// The example lines, one of each kind, in the order of the table.
const std::string kDefs = "void() FireAxe =\r\n"
                          "float(float v) rint = #36;\r\n"
                          "void(entity e) think;\r\n"
                          "if (self.classname == x)\r\n"
                          "local vector v = normalize(d);\r\n"
                          "setmodel (self, string_null); self.x = 1;\r\n"
                          ".float health;\r\n"
                          ".void() th_pain; // comment\r\n"
                          "self.health = 100;\r\n";

const QStringList kDefsFunctions = {
    QStringLiteral("defs.qc - void() FireAxe ="),
    QStringLiteral("defs.qc - float(float v) rint ="),
    QStringLiteral("defs.qc - setmodel (self, string_null); self.x ="),
};
const QStringList kDefsAttributes = {
    QStringLiteral("defs.qc - .float health;"),
    QStringLiteral("defs.qc - .void() th_pain;"),
};

// A world file whose definition is not at position 0 (find-next never finds
// an occurrence there); LF line breaks.
const std::string kWorld = "// world\n"
                           "void() worldspawn =\n"
                           "{\n"
                           "\tprecache();\n"
                           "};\n";

QStringList entries(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

const std::string kReportHead = "\r\n"
                                "/////////////////////\r\n"
                                "//  \r\n"
                                "//   Report \r\n"
                                "//  \r\n"
                                "/////////////////////\r\n"
                                "\r\n"
                                "// All data found in this directory\r\n";
const std::string kReportTail = "\r\n"
                                " // End of data.\r\n";

void doubleClickViewport(QListWidget* list, QPoint at) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class WindowReportsTest : public QObject {
    Q_OBJECT
private slots:
    void bothReportsFindTheExampleDefinitionsInRunOrder();
    void lastLineOneLineFilesAndComparisonHeads();
    void onlyTheExactReportFileNameIsSkipped();
    void editReportWithAnEmptyListWritesTenLinesAndShowsThem();
    void editReportWritesEveryEntryAndIsNeverScanned();
    void doubleClickOnAnEntryOpensItsFileAtTheDefinition();
    void fileDeletedAfterListingStopsTheRunKeepingEntries();
    void doubleClickWithoutASelectedEntryReportsAnError();
    void entryNamingNoFileOfTheDirectoryReportsAnError();
    void fileNameHoldingTheSeparatorIsCutAtItsFirstOne();
    void definitionOnlyBeforeTheLoadedCaretIsNotFound();
};

void WindowReportsTest::bothReportsFindTheExampleDefinitionsInRunOrder() {
    WindowFixture f({{QStringLiteral("defs.qc"), kDefs}});
    TForm1& w = f.window();
    QVERIFY(control<QListWidget>(w, "reportlist")->count() == 0);

    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    QCOMPARE(entries(control<QListWidget>(w, "reportlist")), kDefsFunctions);
    QCOMPARE(f.logLines().last(), QStringLiteral("GENERATING REPORT"));
    QCOMPARE(part<talmo::RSearchPage>(w)->reportSource(), QStringLiteral("defs.qc"));

    QTest::mouseClick(control<QPushButton>(w, "atribgen"), Qt::LeftButton);
    QCOMPARE(entries(control<QListWidget>(w, "reportlist")), kDefsFunctions + kDefsAttributes);
    // The list is never cleared: a second run appends the same entries.
    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    QCOMPARE(entries(control<QListWidget>(w, "reportlist")),
             kDefsFunctions + kDefsAttributes + kDefsFunctions);
    QCOMPARE(f.logLines().count(QStringLiteral("GENERATING REPORT")), 3);
    QVERIFY(f.errors.isEmpty());
}

void WindowReportsTest::lastLineOneLineFilesAndComparisonHeads() {
    WindowFixture f({
        {QStringLiteral("a_one.qc"), "void() solo ="}, // one line, no line break
        {QStringLiteral("b_cmp.qc"), "if (avoid(x) <= 3)\r\n"
                                     "if (a != b)\r\n"
                                     "float(float f) x >= y\n"
                                     "\t.float\tlight_lev;  \r\n"
                                     "  .entity owner; // .string note\r\n"
                                     "x = 1; // .float after the statement\r\n"
                                     "entity(string s) find ="},
        {QStringLiteral("c_empty.qc"), ""},
        {QStringLiteral("d_progs.src"), "progs.dat\r\ndefs.qc\r\n"},
    });
    TForm1& w = f.window();
    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(w, "atribgen"), Qt::LeftButton);
    QCOMPARE(entries(control<QListWidget>(w, "reportlist")),
             (QStringList{
                 QStringLiteral("a_one.qc - void() solo ="),
                 QStringLiteral("b_cmp.qc - if (avoid(x) <="),
                 QStringLiteral("b_cmp.qc - float(float f) x >="),
                 QStringLiteral("b_cmp.qc - entity(string s) find ="),
                 QStringLiteral("b_cmp.qc - .float\tlight_lev;"),
                 QStringLiteral("b_cmp.qc - .entity owner;"),
             }));
    QCOMPARE(part<talmo::RSearchPage>(w)->reportSource(), QStringLiteral("d_progs.src"));
    QVERIFY(f.errors.isEmpty());
}

void WindowReportsTest::onlyTheExactReportFileNameIsSkipped() {
    WindowFixture f({{QStringLiteral("talmo.report.txt"), "void() skipped =\r\n"},
                     {QStringLiteral("Talmo.Report.txt"), "void() scanned =\r\n"}});
    TForm1& w = f.window();
    QCOMPARE(control<talmo::FileListBox>(w, "qclista")->count(), 2);
    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    QCOMPARE(entries(control<QListWidget>(w, "reportlist")),
             QStringList{QStringLiteral("Talmo.Report.txt - void() scanned =")});
}

void WindowReportsTest::editReportWithAnEmptyListWritesTenLinesAndShowsThem() {
    WindowFixture f({{QStringLiteral("defs.qc"), kDefs}});
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editor(w)->setFocus();
    editor(w)->setSelectionStart(0);
    QTest::keyClicks(editorView(w), QStringLiteral("// edited"));
    QTest::keyClick(editorView(w), Qt::Key_Return);
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);

    QTest::mouseClick(control<QPushButton>(w, "EditReport"), Qt::LeftButton);
    const std::string report = readFile(f.path(QStringLiteral("talmo.report.txt")));
    QCOMPARE(report, kReportHead + kReportTail);
    QCOMPARE(QString::fromStdString(report).split(QStringLiteral("\r\n")).size() - 1, 10);
    // The lists were re-read, the report loaded like a double click on it.
    QVERIFY(control<talmo::FileListBox>(w, "qclista")
                ->findItems(QStringLiteral("talmo.report.txt"), Qt::MatchExactly)
                .size() == 1);
    QCOMPARE(currentFile(w), f.path(QStringLiteral("talmo.report.txt")));
    QCOMPARE(editor(w)->text(), report);
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 1);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1),
             QStringLiteral("&Edit talmo.report.txt"));
    QVERIFY(editor(w)->formatAt(3).colour == talmo::kGreen); // highlighted
    // The file being edited was autosaved on the way.
    QCOMPARE(readFile(f.path(QStringLiteral("defs.qc"))).substr(0, 11),
             std::string("// edited\r\n"));
    QVERIFY(f.errors.isEmpty());
}

void WindowReportsTest::editReportWritesEveryEntryAndIsNeverScanned() {
    WindowFixture f({{QStringLiteral("defs.qc"), kDefs}});
    TForm1& w = f.window();
    QTest::mouseClick(control<QPushButton>(w, "atribgen"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(w, "EditReport"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("talmo.report.txt"))),
             kReportHead + "defs.qc - .float health;\r\ndefs.qc - .void() th_pain;\r\n" +
                 kReportTail);
    // Its entries would be found again if it were scanned.
    QTest::mouseClick(control<QPushButton>(w, "atribgen"), Qt::LeftButton);
    QCOMPARE(entries(control<QListWidget>(w, "reportlist")), kDefsAttributes + kDefsAttributes);
}

void WindowReportsTest::doubleClickOnAnEntryOpensItsFileAtTheDefinition() {
    WindowFixture f({{QStringLiteral("defs.qc"), kDefs}, {QStringLiteral("world.qc"), kWorld}});
    TForm1& w = f.window();
    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    const QString entry = QStringLiteral("world.qc - void() worldspawn =");
    QVERIFY(entries(control<QListWidget>(w, "reportlist")).contains(entry));
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);

    QVERIFY(f.doubleClickItem(control<QListWidget>(w, "reportlist"), entry));
    QCOMPARE(currentFile(w), f.path(QStringLiteral("world.qc")));
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 1);
    QCOMPARE(f.logLines().last(), QStringLiteral("Jumping to void() worldspawn ="));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(),
             QStringLiteral("void() worldspawn ="));
    QCOMPARE(editor(w)->selectionStart(), 10L); // "// world" and CR LF before it
    QCOMPARE(editor(w)->selectionLength(), 19L);
    // The file list was re-read: nothing is selected in it any more.
    QVERIFY(control<talmo::FileListBox>(w, "qclista")->selectedPath().isEmpty());
    QVERIFY(f.errors.isEmpty());
}

void WindowReportsTest::fileDeletedAfterListingStopsTheRunKeepingEntries() {
    WindowFixture f({{QStringLiteral("a.qc"), "void() first =\r\n"},
                     {QStringLiteral("b.qc"), "void() second =\r\n"},
                     {QStringLiteral("c.qc"), "void() third =\r\n"}});
    TForm1& w = f.window();
    QVERIFY(QFile::remove(f.path(QStringLiteral("b.qc"))));
    QCOMPARE(control<talmo::FileListBox>(w, "qclista")->count(), 3); // the list still shows it

    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    QCOMPARE(f.errors.size(), 1);
    QCOMPARE(entries(control<QListWidget>(w, "reportlist")),
             QStringList{QStringLiteral("a.qc - void() first =")});
    QCOMPARE(part<talmo::RSearchPage>(w)->reportSource(), QStringLiteral("b.qc"));
    QCOMPARE(f.logLines().last(), QStringLiteral("GENERATING REPORT"));

    // A failed report file write loads nothing: a directory in its way.
    QDir(f.dir()).mkdir(QStringLiteral("talmo.report.txt"));
    const QStringList logBefore = f.logLines();
    QTest::mouseClick(control<QPushButton>(w, "EditReport"), Qt::LeftButton);
    QCOMPARE(f.errors.size(), 2);
    QVERIFY(currentFile(w).isEmpty());
    QCOMPARE(f.logLines(), logBefore);
}

void WindowReportsTest::doubleClickWithoutASelectedEntryReportsAnError() {
    WindowFixture f({{QStringLiteral("world.qc"), kWorld}});
    TForm1& w = f.window();
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);
    QVERIFY(control<QListWidget>(w, "reportlist")->isVisible());
    const QStringList logBefore = f.logLines();

    doubleClickViewport(control<QListWidget>(w, "reportlist"), QPoint(10, 10)); // the list is empty
    QCOMPARE(f.errors.size(), 1);
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 3);
    QVERIFY(currentFile(w).isEmpty());
    QCOMPARE(f.logLines(), logBefore);
}

void WindowReportsTest::entryNamingNoFileOfTheDirectoryReportsAnError() {
    WindowFixture f(
        {{QStringLiteral("world.qc"), kWorld}, {QStringLiteral("sub/keep.qc"), "x\r\n"}});
    TForm1& w = f.window();
    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    QCOMPARE(control<QListWidget>(w, "reportlist")->count(), 1);
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("world.qc")));
    editor(w)->setSelectionStart(5);
    const std::string text = editor(w)->text();

    // Entries carry no directory: in another directory the name is unknown.
    control<QLineEdit>(w, "pathsrc")->clear(); // the preview put the directory there
    f.type(control<QLineEdit>(w, "pathsrc"), f.path(QStringLiteral("sub")), true);
    QCOMPARE(control<talmo::FileListBox>(w, "qclista")->count(), 1);
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);
    const QStringList logBefore = f.logLines();
    QVERIFY(f.doubleClickItem(control<QListWidget>(w, "reportlist"),
                              QStringLiteral("world.qc - void() worldspawn =")));
    QCOMPARE(f.errors.size(), 1);
    QVERIFY(f.errors.first().contains(QStringLiteral("world.qc")));
    QCOMPARE(f.logLines(), logBefore);
    QCOMPARE(currentFile(w), f.path(QStringLiteral("world.qc")));
    QCOMPARE(editor(w)->text(), text);
    QCOMPARE(editor(w)->selectionStart(), 5L);
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 3);
    QVERIFY(control<talmo::FunctionCombo>(w, "com")->currentText().isEmpty());
}

void WindowReportsTest::fileNameHoldingTheSeparatorIsCutAtItsFirstOne() {
    WindowFixture f({{QStringLiteral("a - b.qc"), "// x\r\nvoid() lamp =\r\n"},
                     {QStringLiteral("other.qc"), "float o;\r\n"}});
    TForm1& w = f.window();
    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    QCOMPARE(entries(control<QListWidget>(w, "reportlist")),
             QStringList{QStringLiteral("a - b.qc - void() lamp =")});
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);
    QVERIFY(f.doubleClickItem(control<QListWidget>(w, "reportlist"),
                              QStringLiteral("a - b.qc - void() lamp =")));
    // The file part is "a", which names no file: nothing is loaded.
    QCOMPARE(f.errors.size(), 1);
    QVERIFY(currentFile(w).isEmpty());
    QVERIFY(!f.logLines().join(u'\n').contains(QStringLiteral("Jumping to")));
}

void WindowReportsTest::definitionOnlyBeforeTheLoadedCaretIsNotFound() {
    const std::string early = "void() early =\r\n{\r\n};\r\n// padding padding padding\r\n";
    WindowFixture f({{QStringLiteral("early.qc"), early}, {QStringLiteral("long.qc"), kWorld}});
    TForm1& w = f.window();
    QTest::mouseClick(control<QPushButton>(w, "generatereport"), Qt::LeftButton);
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("long.qc")));
    editor(w)->setSelectionStart(40); // the switch puts the caret back here
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);
    QVERIFY(f.doubleClickItem(control<QListWidget>(w, "reportlist"),
                              QStringLiteral("early.qc - void() early =")));
    QCOMPARE(currentFile(w), f.path(QStringLiteral("early.qc")));
    QCOMPARE(f.logLines().last(), QStringLiteral("Jumping to void() early ="));
    QCOMPARE(editor(w)->selectionStart(), 40L);
    QCOMPARE(editor(w)->selectionLength(), 0L);
}

QTEST_MAIN(WindowReportsTest)
#include "window_reports_test.moc"
