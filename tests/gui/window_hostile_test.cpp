// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile directories and files through the real window: each must end in a
// log line or an error report with the window still answering, and nothing
// lost on disk.
#include "WindowFixture.h"

#include "EditController.h"
#include "FileListBox.h"
#include "FilePanel.h"
#include "ManPage.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using talmo::testing::control;
using talmo::testing::editor;
using talmo::testing::editorView;
using talmo::testing::part;
using talmo::testing::readFile;
using talmo::testing::WindowFixture;

namespace {

bool listed(const QListWidget* list, const QString& name) {
    return !list->findItems(name, Qt::MatchExactly).isEmpty();
}

} // namespace

class WindowHostileTest : public QObject {
    Q_OBJECT
private slots:
    void specialFilesAreNotListedAndNeverBlock();
    void hugeFileAndLongLineStayUsable();
    void fileThatDisappearsBetweenListingAndClick();
    void vanishedWorkingDirectory();
    void unreadableDirectoryChangesNothing();
};

void WindowHostileTest::specialFilesAreNotListedAndNeverBlock() {
    WindowFixture f({{QStringLiteral("ok.qc"), "float ok;\r\n"}});
    TForm1& w = f.window();
    const QByteArray dir = QFile::encodeName(f.dir());
    QCOMPARE(::mkfifo((dir + "/fifo.qc").constData(), 0644), 0);
    QCOMPARE(::symlink("loop2.qc", (dir + "/loop1.qc").constData()), 0);
    QCOMPARE(::symlink("loop1.qc", (dir + "/loop2.qc").constData()), 0);
    QCOMPARE(::symlink("/dev/zero", (dir + "/zero.qc").constData()), 0);
    QElapsedTimer timer;
    timer.start();
    part<talmo::FilePanel>(w)->RefreshFileLists();
    QVERIFY(listed(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("ok.qc")));
    QVERIFY(!listed(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("fifo.qc")));
    QVERIFY(!listed(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("loop1.qc")));

    // Even when a special file is selected by name, reading it fails at once.
    control<talmo::FileListBox>(w, "qclista")->addItem(QStringLiteral("fifo.qc"));
    control<talmo::FileListBox>(w, "qclista")->addItem(QStringLiteral("zero.qc"));
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("fifo.qc")));
    QCOMPARE(f.logLines().last(), QStringLiteral("Load fail!!: "));
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("zero.qc")));
    QCOMPARE(f.logLines().last(), QStringLiteral("Load fail!!: "));
    QVERIFY(timer.elapsed() < 5000);
}

void WindowHostileTest::hugeFileAndLongLineStayUsable() {
    std::string line(5 * 1024 * 1024, 'a');
    std::string huge;
    huge.reserve(100u * 1024 * 1024);
    const std::string row = "void() think = { self.nextthink = time + 0.1; }; // row\r\n";
    while (huge.size() + row.size() <= 100u * 1024 * 1024)
        huge += row;
    WindowFixture f({{QStringLiteral("line.qc"), line}, {QStringLiteral("huge.qc"), huge}});
    TForm1& w = f.window();

    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("line.qc")));
    QCOMPARE(editor(w)->length(), static_cast<long>(line.size()));
    editor(w)->setSelectionStart(editor(w)->length());
    editorView(w)->typeText("b");
    QElapsedTimer timer;
    timer.start();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("huge.qc")));
    QCOMPARE(editor(w)->length(), static_cast<long>(huge.size()));
    QCOMPARE(readFile(f.path(QStringLiteral("line.qc"))), line + "b");
    QVERIFY2(timer.elapsed() < 60000, qPrintable(QString::number(timer.elapsed())));
    // Untouched, it goes back byte for byte.
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("line.qc")));
    QVERIFY(readFile(f.path(QStringLiteral("huge.qc"))) == huge);
    QVERIFY(f.errors.isEmpty());
}

void WindowHostileTest::fileThatDisappearsBetweenListingAndClick() {
    WindowFixture f({{QStringLiteral("a.qc"), "float a;\r\n"}, {QStringLiteral("b.txt"), "b"}});
    TForm1& w = f.window();
    QVERIFY(QFile::remove(f.path(QStringLiteral("a.qc"))));
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("a.qc")));
    QCOMPARE(f.logLines().last(), QStringLiteral("Open fail!!: "));
    QVERIFY(!part<talmo::EditController>(w)->failed()); // the preview's failure is its own
    QVERIFY(QFile::remove(f.path(QStringLiteral("b.txt"))));
    control<QTabWidget>(w, "TabbedNotebook1")->setCurrentIndex(1);
    QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "listado"), QStringLiteral("b.txt")));
    QCOMPARE(f.logLines().last(), QStringLiteral("Load fail!!: "));
    QVERIFY(part<talmo::ManPage>(w)->manFile().isEmpty());
}

void WindowHostileTest::vanishedWorkingDirectory() {
    WindowFixture f({{QStringLiteral("keep.qc"), "float keep;\r\n"},
                     {QStringLiteral("gone/x.qc"), "float x;\r\n"}});
    TForm1& w = f.window();
    const QString gone = QDir::toNativeSeparators(f.path(QStringLiteral("gone")));
    f.type(control<QLineEdit>(w, "pathsrc"), gone, true);
    QVERIFY(listed(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("x.qc")));
    QVERIFY(QDir(gone).removeRecursively());
    part<talmo::FilePanel>(w)->RefreshFileLists();
    QCOMPARE(control<talmo::FileListBox>(w, "qclista")->count(), 0);
    QTest::mouseClick(control<QPushButton>(w, "refresh"), Qt::LeftButton);
    QCOMPARE(f.logLines().last(), QStringLiteral("Load fail!!: "));
    // The user can still go elsewhere.
    control<QLineEdit>(w, "pathsrc")->clear();
    f.type(control<QLineEdit>(w, "pathsrc"), QDir::toNativeSeparators(f.dir()), true);
    QVERIFY(listed(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("keep.qc")));
}

void WindowHostileTest::unreadableDirectoryChangesNothing() {
    WindowFixture f({{QStringLiteral("locked/x.qc"), "float x;\r\n"}});
    TForm1& w = f.window();
    const QString locked = f.path(QStringLiteral("locked"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    const QString before = w.windowTitle();
    f.type(control<QLineEdit>(w, "pathsrc"), QDir::toNativeSeparators(locked), true);
    if (::geteuid() != 0) {
        QCOMPARE(w.windowTitle(), before); // cannot be entered: nothing changes
    } else {
        QVERIFY(listed(control<talmo::FileListBox>(w, "qclista"),
                       QStringLiteral("x.qc"))); // root enters anyway
    }
    QVERIFY(f.errors.isEmpty());
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QTEST_MAIN(WindowHostileTest)
#include "window_hostile_test.moc"
