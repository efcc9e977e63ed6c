// SPDX-License-Identifier: GPL-3.0-or-later
// Profiles on the Go page and snippets on the Snip page, driven through the
// window's lists, boxes and buttons.
#include "WindowFixture.h"

#include "FileListBox.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using talmo::testing::control;
using talmo::testing::readFile;
using talmo::testing::WindowFixture;
using talmo::testing::writeFile;

namespace {

// Replaces a box's text by typing, as a user would.
void retype(WindowFixture& f, QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    f.type(box, text);
}

QStringList settingBoxes(const TForm1& w) {
    return {
        control<QLineEdit>(w, "compilerqc")->text(), control<QLineEdit>(w, "pathsrc")->text(),
        control<QLineEdit>(w, "pathquake")->text(),  control<QLineEdit>(w, "namequake")->text(),
        control<QLineEdit>(w, "namemod")->text(),    control<QLineEdit>(w, "paramsquake")->text()};
}

QStringList listed(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

} // namespace

class WindowStoreTest : public QObject {
    Q_OBJECT
private slots:
    void savedProfileLoadsBackWithoutItsBlanks();
    void loadBeforeAnyProfileWasShownEmptiesTheSettings();
    void loadTakesValuesByLineNumber_data();
    void loadTakesValuesByLineNumber();
    void profileThatCannotBeShownKeepsTheMemo();
    void saveWithAnEmptyNameWritesDotQprofile();
    void saveGoesToTheWorkingDirectory();
    void saveToAMissingDirectoryIsLoggedAndTheListStillReread();

    void snipRoundTripsThroughTheWindow_data();
    void snipRoundTripsThroughTheWindow();
    void snipFileWithLoneBreaksShowsAsLines();
    void snipNameGetsItsExtensionEvenWhenItHasOne();
    void emptySnipNameWritesNothingAndLogsOneLine();
    void snipThatCannotBeSavedIsLoggedAndTheBoxEmptied();
    void snipRemovedBeforeItsClickGoesToTheErrorReport();
};

void WindowStoreTest::savedProfileLoadsBackWithoutItsBlanks() {
    WindowFixture f;
    TForm1& w = f.window();
    retype(f, control<QLineEdit>(w, "savename"), QStringLiteral("proj"));
    retype(f, control<QLineEdit>(w, "compilerqc"), QStringLiteral("  fteqcc -O2 "));
    retype(f, control<QLineEdit>(w, "pathsrc"), QStringLiteral(" C:\\mod\\src"));
    retype(f, control<QLineEdit>(w, "pathquake"), QStringLiteral("D:\\games\\quake  "));
    retype(f, control<QLineEdit>(w, "namequake"), QStringLiteral("quake.exe"));
    retype(f, control<QLineEdit>(w, "namemod"), QStringLiteral(" mymod "));
    retype(f, control<QLineEdit>(w, "paramsquake"), QStringLiteral("+map start "));
    QTest::mouseClick(control<QPushButton>(w, "Button2"), Qt::LeftButton);

    const std::string expected = "configfile : proj.qprofile\r\n"
                                 "qc compiler:   fteqcc -O2 \r\n"
                                 "path src   :  C:\\mod\\src\r\n"
                                 "path exe   : D:\\games\\quake  \r\n"
                                 "quake exe  : quake.exe\r\n"
                                 "modname    :  mymod \r\n"
                                 "paramsquake: +map start \r\n";
    QCOMPARE(readFile(f.path(QStringLiteral("proj.qprofile"))), expected);
    QCOMPARE(f.logLines().last(), QStringLiteral("qprofile saved"));
    QCOMPARE(control<QGroupBox>(w, "grupoprofiles")->title(), QStringLiteral("proj.qprofile"));
    QCOMPARE(control<QLineEdit>(w, "savename")->text(), QStringLiteral("proj"));
    QCOMPARE(control<QPlainTextEdit>(w, "profileinfo")->toPlainText() +
                 u'\n', // the last line's break shows no line
             QString::fromLatin1(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(listed(control<talmo::FileListBox>(w, "profiles"))
                .contains(QStringLiteral("proj.qprofile")));

    for (QLineEdit* box : {control<QLineEdit>(w, "compilerqc"), control<QLineEdit>(w, "pathsrc"),
                           control<QLineEdit>(w, "pathquake"), control<QLineEdit>(w, "namequake"),
                           control<QLineEdit>(w, "namemod"), control<QLineEdit>(w, "paramsquake")})
        retype(f, box, QStringLiteral("other"));
    QVERIFY(
        f.clickItem(control<talmo::FileListBox>(w, "profiles"), QStringLiteral("proj.qprofile")));
    QTest::mouseClick(control<QPushButton>(w, "Button1"), Qt::LeftButton);
    QCOMPARE(settingBoxes(w),
             (QStringList{QStringLiteral("fteqcc -O2"), QStringLiteral("C:\\mod\\src"),
                          QStringLiteral("D:\\games\\quake"), QStringLiteral("quake.exe"),
                          QStringLiteral("mymod"), QStringLiteral("+map start")}));
    QCOMPARE(f.logLines().last(), QStringLiteral("Loading proj.qprofile"));
    QCOMPARE(control<QLineEdit>(w, "savename")->text(), QStringLiteral("proj.qprofile"));
    QCOMPARE(control<QGroupBox>(w, "grupoprofiles")->title(), QStringLiteral("proj.qprofile"));
    QVERIFY(f.errors.isEmpty());
}

void WindowStoreTest::loadBeforeAnyProfileWasShownEmptiesTheSettings() {
    WindowFixture f;
    TForm1& w = f.window();
    QVERIFY(!control<QLineEdit>(w, "compilerqc")->text().isEmpty());
    QTest::mouseClick(control<QPushButton>(w, "Button1"), Qt::LeftButton);
    QCOMPARE(f.logLines().last(), QStringLiteral("Loading profileinfo"));
    QCOMPARE(control<QGroupBox>(w, "grupoprofiles")->title(), QStringLiteral("profileinfo"));
    QCOMPARE(control<QLineEdit>(w, "savename")->text(), QStringLiteral("profileinfo"));
    QCOMPARE(settingBoxes(w), QStringList(6, QString()));
}

void WindowStoreTest::loadTakesValuesByLineNumber_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("boxes");

    QTest::newRow("a profile of nine lines shows whole and loads its first seven")
        << QByteArray("configfile : long.qprofile\r\nqc compiler: fteqcc\r\npath src   : src\r\n"
                      "path exe   : /games/q\r\nquake exe  : q.exe\r\nmodname    : m\r\n"
                      "paramsquake: -x\r\nextra one  : 8\r\nextra two  : 9\r\n")
        << QStringLiteral("long.qprofile")
        << QStringList{QStringLiteral("fteqcc"), QStringLiteral("src"), QStringLiteral("/games/q"),
                       QStringLiteral("q.exe"),  QStringLiteral("m"),   QStringLiteral("-x")};
    QTest::newRow("lines in another order load by their place, not their label")
        << QByteArray("configfile : swapped.qprofile\r\nparamsquake: -p\r\nmodname    : mod\r\n"
                      "quake exe  : exe\r\npath exe   : dir\r\npath src   : src\r\n"
                      "qc compiler: qcc\r\n")
        << QStringLiteral("swapped.qprofile")
        << QStringList{QStringLiteral("-p"),  QStringLiteral("mod"), QStringLiteral("exe"),
                       QStringLiteral("dir"), QStringLiteral("src"), QStringLiteral("qcc")};
    QTest::newRow("only the first colon counts; a line without one is read whole")
        << QByteArray("configfile : colons.qprofile\r\nqc compiler: fteqcc -Dx: y\r\n"
                      "path src   : C:\\mod\r\n   no colon here \r\nquake exe  :\r\n"
                      "modname    : \t mod\t\r\nparamsquake: +set a: b\r\n")
        << QStringLiteral("colons.qprofile")
        << QStringList{QStringLiteral("fteqcc -Dx: y"), QStringLiteral("C:\\mod"),
                       QStringLiteral("no colon here"), QString(),
                       QStringLiteral("mod"),           QStringLiteral("+set a: b")};
    QTest::newRow("a short profile with LF breaks leaves the missing values empty")
        << QByteArray("configfile : short.qprofile\nqc compiler: fteqcc\npath src   : src\n")
        << QStringLiteral("short.qprofile") << QStringList{QStringLiteral("fteqcc"),
                                                           QStringLiteral("src"),
                                                           QString(),
                                                           QString(),
                                                           QString(),
                                                           QString()};
}

void WindowStoreTest::loadTakesValuesByLineNumber() {
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(QStringList, boxes);
    WindowFixture f({{name, file.toStdString()}});
    TForm1& w = f.window();

    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "profiles"), name));
    QString shown = QString::fromLatin1(file).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.chop(1);
    QCOMPARE(control<QPlainTextEdit>(w, "profileinfo")->toPlainText(), shown);
    QCOMPARE(control<QGroupBox>(w, "grupoprofiles")->title(), name);

    QTest::mouseClick(control<QPushButton>(w, "Button1"), Qt::LeftButton);
    QCOMPARE(settingBoxes(w), boxes);
    QCOMPARE(f.logLines().last(), QStringLiteral("Loading ") + name);
    QCOMPARE(control<QLineEdit>(w, "savename")->text(), name);
}

void WindowStoreTest::profileThatCannotBeShownKeepsTheMemo() {
    WindowFixture f({{QStringLiteral("a.qprofile"), "configfile : a.qprofile\r\n"},
                     {QStringLiteral("gone.qprofile"), "configfile : gone.qprofile\r\n"}});
    TForm1& w = f.window();
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "profiles"), QStringLiteral("a.qprofile")));
    QVERIFY(QFile::remove(f.path(QStringLiteral("gone.qprofile"))));
    QVERIFY(
        f.clickItem(control<talmo::FileListBox>(w, "profiles"), QStringLiteral("gone.qprofile")));
    QCOMPARE(f.logLines().last(), QStringLiteral("Cant open profile file!"));
    QCOMPARE(control<QPlainTextEdit>(w, "profileinfo")->toPlainText(),
             QStringLiteral("configfile : a.qprofile"));
    QCOMPARE(control<QGroupBox>(w, "grupoprofiles")->title(), QStringLiteral("a.qprofile"));
    QVERIFY(f.errors.isEmpty());
}

void WindowStoreTest::saveWithAnEmptyNameWritesDotQprofile() {
    WindowFixture f;
    TForm1& w = f.window();
    retype(f, control<QLineEdit>(w, "compilerqc"), QStringLiteral("frikqcc2.exe"));
    retype(f, control<QLineEdit>(w, "savename"), QString());
    QTest::mouseClick(control<QPushButton>(w, "Button2"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral(".qprofile"))),
             std::string("configfile : .qprofile\r\nqc compiler: frikqcc2.exe\r\n"
                         "path src   : \r\npath exe   : \r\nquake exe  : \r\n"
                         "modname    : \r\nparamsquake: \r\n"));
    QCOMPARE(control<QGroupBox>(w, "grupoprofiles")->title(), QStringLiteral(".qprofile"));
    QCOMPARE(f.logLines().last(), QStringLiteral("qprofile saved"));
    QVERIFY(
        listed(control<talmo::FileListBox>(w, "profiles")).contains(QStringLiteral(".qprofile")));
}

void WindowStoreTest::saveGoesToTheWorkingDirectory() {
    WindowFixture f({{QStringLiteral("sub/keep.txt"), "x"}});
    TForm1& w = f.window();
    f.type(control<QLineEdit>(w, "pathsrc"), f.path(QStringLiteral("sub")), true);
    QCOMPARE(QDir::currentPath(), f.path(QStringLiteral("sub")));

    retype(f, control<QLineEdit>(w, "savename"), QStringLiteral("elsewhere"));
    QTest::mouseClick(control<QPushButton>(w, "Button2"), Qt::LeftButton);
    QVERIFY(QFile::exists(f.path(QStringLiteral("sub/elsewhere.qprofile"))));
    QVERIFY(!QFile::exists(f.path(QStringLiteral("elsewhere.qprofile"))));
    QVERIFY(!listed(control<talmo::FileListBox>(w, "profiles"))
                 .contains(QStringLiteral("elsewhere.qprofile")));
    QCOMPARE(control<talmo::FileListBox>(w, "profiles")->directory(),
             QDir::toNativeSeparators(f.dir()));
}

void WindowStoreTest::saveToAMissingDirectoryIsLoggedAndTheListStillReread() {
    WindowFixture f({{QStringLiteral("old.qprofile"), "configfile : old.qprofile\r\n"}});
    TForm1& w = f.window();
    QVERIFY(
        f.clickItem(control<talmo::FileListBox>(w, "profiles"), QStringLiteral("old.qprofile")));
    QVERIFY(control<talmo::FileListBox>(w, "profiles")->currentItem() &&
            control<talmo::FileListBox>(w, "profiles")->currentItem()->isSelected());
    retype(f, control<QLineEdit>(w, "compilerqc"), QStringLiteral("frikqcc2.exe"));
    retype(f, control<QLineEdit>(w, "savename"), QStringLiteral("no/such/dir/p.qprofile"));
    QTest::mouseClick(control<QPushButton>(w, "Button2"), Qt::LeftButton);
    QCOMPARE(f.logLines().last(), QStringLiteral("cant save profile!"));
    QCOMPARE(control<QGroupBox>(w, "grupoprofiles")->title(),
             QStringLiteral("no/such/dir/p.qprofile"));
    QVERIFY(control<QPlainTextEdit>(w, "profileinfo")
                ->toPlainText()
                .startsWith(QStringLiteral(
                    "configfile : no/such/dir/p.qprofile\nqc compiler: frikqcc2.exe\n")));
    QVERIFY(control<talmo::FileListBox>(w, "profiles")->selectedName().isEmpty());
}

void WindowStoreTest::snipRoundTripsThroughTheWindow_data() {
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("without a final line break") << QStringLiteral("void() a =\n{\n\tb();\n};")
                                                << QByteArray("void() a =\r\n{\r\n\tb();\r\n};");
    QTest::newRow("with a final line break")
        << QStringLiteral("float x;\n") << QByteArray("float x;\r\n");
    QTest::newRow("blank lines and 8-bit text")
        << QStringLiteral("\n\ncaf\u00e9  \n") << QByteArray("\r\n\r\ncaf\xe9  \r\n");
}

void WindowStoreTest::snipRoundTripsThroughTheWindow() {
    QFETCH(QString, memo);
    QFETCH(QByteArray, file);
    WindowFixture f({{QStringLiteral("abc.snip"), "an older snip"}});
    TForm1& w = f.window();
    control<QPlainTextEdit>(w, "xxtcode")->setPlainText(memo);
    f.type(control<QLineEdit>(w, "xxtfile"), QStringLiteral("abc"));
    const int before = static_cast<int>(f.logLines().size());
    QTest::mouseClick(control<QPushButton>(w, "salvaxss"), Qt::LeftButton);

    QCOMPARE(readFile(f.path(QStringLiteral("abc.snip"))), file.toStdString());
    QCOMPARE(f.logLines().mid(before),
             (QStringList{QStringLiteral("Save snip!!: "), QStringLiteral("file: abc.snip")}));
    QVERIFY(control<QLineEdit>(w, "xxtfile")->text().isEmpty());
    QCOMPARE(listed(control<talmo::FileListBox>(w, "xxtfilebox")),
             QStringList{QStringLiteral("abc.snip")});

    control<QPlainTextEdit>(w, "xxtcode")->setPlainText(QStringLiteral("unsaved edit"));
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "xxtfilebox"), QStringLiteral("abc.snip")));
    QCOMPARE(control<QPlainTextEdit>(w, "xxtcode")->toPlainText(), memo);
    QVERIFY(f.errors.isEmpty());
}

void WindowStoreTest::snipFileWithLoneBreaksShowsAsLines() {
    WindowFixture f({{QStringLiteral("mixed.snip"), "one\ntwo\rthree\r\nfour"}});
    TForm1& w = f.window();
    QVERIFY(
        f.clickItem(control<talmo::FileListBox>(w, "xxtfilebox"), QStringLiteral("mixed.snip")));
    QCOMPARE(control<QPlainTextEdit>(w, "xxtcode")->toPlainText(),
             QStringLiteral("one\ntwo\nthree\nfour"));
}

void WindowStoreTest::snipNameGetsItsExtensionEvenWhenItHasOne() {
    WindowFixture f;
    TForm1& w = f.window();
    control<QPlainTextEdit>(w, "xxtcode")->setPlainText(QStringLiteral("x"));
    f.type(control<QLineEdit>(w, "xxtfile"), QStringLiteral("abc.snip"));
    QTest::mouseClick(control<QPushButton>(w, "salvaxss"), Qt::LeftButton);
    QCOMPARE(readFile(f.path(QStringLiteral("abc.snip.snip"))), std::string("x"));
    QVERIFY(!QFile::exists(f.path(QStringLiteral("abc.snip"))));
    QCOMPARE(f.logLines().last(), QStringLiteral("file: abc.snip.snip"));
    QCOMPARE(listed(control<talmo::FileListBox>(w, "xxtfilebox")),
             QStringList{QStringLiteral("abc.snip.snip")});
}

void WindowStoreTest::emptySnipNameWritesNothingAndLogsOneLine() {
    WindowFixture f;
    TForm1& w = f.window();
    control<QPlainTextEdit>(w, "xxtcode")->setPlainText(QStringLiteral("kept"));
    const QStringList before = f.logLines();
    QTest::mouseClick(control<QPushButton>(w, "salvaxss"), Qt::LeftButton);
    QCOMPARE(f.logLines(), before + QStringList{QStringLiteral("file: .snip")});
    QVERIFY(QDir(f.dir()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QCOMPARE(control<QPlainTextEdit>(w, "xxtcode")->toPlainText(), QStringLiteral("kept"));
}

void WindowStoreTest::snipThatCannotBeSavedIsLoggedAndTheBoxEmptied() {
    WindowFixture f;
    TForm1& w = f.window();
    control<QPlainTextEdit>(w, "xxtcode")->setPlainText(QStringLiteral("kept"));
    f.type(control<QLineEdit>(w, "xxtfile"), QStringLiteral("no/such/abc"));
    const int before = static_cast<int>(f.logLines().size());
    QTest::mouseClick(control<QPushButton>(w, "salvaxss"), Qt::LeftButton);
    QCOMPARE(f.logLines().mid(before), (QStringList{QStringLiteral("Save fail!!: "),
                                                    QStringLiteral("file: no/such/abc.snip")}));
    QVERIFY(control<QLineEdit>(w, "xxtfile")->text().isEmpty());
    QCOMPARE(control<QPlainTextEdit>(w, "xxtcode")->toPlainText(), QStringLiteral("kept"));
    QVERIFY(f.errors.isEmpty());
}

void WindowStoreTest::snipRemovedBeforeItsClickGoesToTheErrorReport() {
    WindowFixture f({{QStringLiteral("gone.snip"), "old"}});
    TForm1& w = f.window();
    control<QPlainTextEdit>(w, "xxtcode")->setPlainText(QStringLiteral("kept"));
    const QStringList log = f.logLines();
    QVERIFY(QFile::remove(f.path(QStringLiteral("gone.snip"))));
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "xxtfilebox"), QStringLiteral("gone.snip")));
    QCOMPARE(f.errors.size(), 1);
    QVERIFY(f.errors.first().contains(QStringLiteral("gone.snip")));
    QCOMPARE(control<QPlainTextEdit>(w, "xxtcode")->toPlainText(), QStringLiteral("kept"));
    QCOMPARE(f.logLines(), log);
}

QTEST_MAIN(WindowStoreTest)
#include "window_store_test.moc"
