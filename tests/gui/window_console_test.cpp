// SPDX-License-Identifier: GPL-3.0-or-later
// The console of the Cmd page, typed into as a user would: the echo, the
// commands, the help listing, the autosave box and the log's cap.
#include "WindowFixture.h"

#include "CmdPage.h"
#include "Console.h"
#include "WorkingDirectory.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using talmo::testing::control;
using talmo::testing::part;
using talmo::testing::WindowFixture;

namespace {

QStringList helpListing() {
    QStringList lines;
    for (const std::string& line : talmo::consoleHelpLines())
        lines << QString::fromStdString(line);
    return lines;
}

const QString kOk = QStringLiteral("Ok.");

// Types a command and Enter into `cmd`; returns the lines it added to the log.
QStringList enter(WindowFixture& f, const QString& command) {
    const qsizetype before = f.logLines().size();
    f.type(control<QLineEdit>(f.window(), "cmd"), command, true);
    return f.logLines().mid(before);
}

} // namespace

class WindowConsoleTest : public QObject {
    Q_OBJECT
private slots:
    void everyNameOfHelpListsTheHelpThenOk();
    void questionMarkButtonListsTheHelpAlone();
    void textsThatAreNoCommandsAreAnsweredAsUnknown_data();
    void textsThatAreNoCommandsAreAnsweredAsUnknown();
    void dirShowsTheWorkingDirectoryInQuotes();
    void autosaveCommandsSetAndReportTheCheckBox();
    void clearLeavesOnlyOk();
    void emptyEntryAddsNothing();
    void fullLogDropsItsOldestLinesForTheHelp();
};

void WindowConsoleTest::everyNameOfHelpListsTheHelpThenOk() {
    WindowFixture f;
    for (const char* name : {"help", "ayuda", "sos", "h"}) {
        const QString command = QString::fromLatin1(name);
        const QStringList added = enter(f, command);
        QCOMPARE(added.size(), 23);
        QCOMPARE(added.first(), QStringLiteral("> ") + command);
        QCOMPARE(added.mid(1, 21), helpListing());
        QCOMPARE(added.last(), kOk);
        QVERIFY(control<QLineEdit>(f.window(), "cmd")->text().isEmpty());
    }
}

void WindowConsoleTest::questionMarkButtonListsTheHelpAlone() {
    WindowFixture f;
    const QStringList before = f.logLines();
    QTest::mouseClick(control<QPushButton>(f.window(), "help"), Qt::LeftButton);
    QCOMPARE(f.logLines(), before + helpListing());
    QCOMPARE(helpListing().size(), 21);
}

void WindowConsoleTest::textsThatAreNoCommandsAreAnsweredAsUnknown_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("a command word with another case") << QStringLiteral("Dir");
    QTest::newRow("a command word with a blank after it") << QStringLiteral("dir ");
    QTest::newRow("a command of the listing that does not exist") << QStringLiteral("dir C:\\");
    QTest::newRow("autosave with two blanks as the listing shows it")
        << QStringLiteral("autosave  1");
    QTest::newRow("a listed command the console lacks") << QStringLiteral("qcc");
}

void WindowConsoleTest::textsThatAreNoCommandsAreAnsweredAsUnknown() {
    QFETCH(QString, typed);
    WindowFixture f;
    const bool autosave = control<QCheckBox>(f.window(), "auto")->isChecked();
    QCOMPARE(enter(f, typed), (QStringList{QStringLiteral("> ") + typed,
                                           typed + QStringLiteral(" unknom action."), kOk}));
    QCOMPARE(control<QCheckBox>(f.window(), "auto")->isChecked(), autosave);
}

void WindowConsoleTest::dirShowsTheWorkingDirectoryInQuotes() {
    WindowFixture f;
    const QString directory = part<talmo::WorkingDirectory>(f.window())->path();
    QCOMPARE(directory, QDir::toNativeSeparators(f.dir()));
    QCOMPARE(enter(f, QStringLiteral("dir")),
             (QStringList{QStringLiteral("> dir"), QStringLiteral("Dir Path \"") + directory + u'"',
                          kOk}));
}

void WindowConsoleTest::autosaveCommandsSetAndReportTheCheckBox() {
    WindowFixture f;
    QCheckBox* box = control<QCheckBox>(f.window(), "auto");
    QVERIFY(box->isChecked());
    QCOMPARE(enter(f, QStringLiteral("autosave")),
             (QStringList{QStringLiteral("> autosave"), QStringLiteral("autosave 1"), kOk}));
    QCOMPARE(enter(f, QStringLiteral("autosave 0")),
             (QStringList{QStringLiteral("> autosave 0"), QStringLiteral("autosave 0"), kOk, kOk}));
    QVERIFY(!box->isChecked());
    QCOMPARE(enter(f, QStringLiteral("autosave")),
             (QStringList{QStringLiteral("> autosave"), QStringLiteral("autosave 0"), kOk}));
    // The user's own click is what the console reads next.
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->isChecked());
    QCOMPARE(enter(f, QStringLiteral("autosave")).at(1), QStringLiteral("autosave 1"));
    box->setChecked(false);
    QCOMPARE(enter(f, QStringLiteral("autosave 1")),
             (QStringList{QStringLiteral("> autosave 1"), QStringLiteral("autosave 1"), kOk, kOk}));
    QVERIFY(box->isChecked());
}

void WindowConsoleTest::clearLeavesOnlyOk() {
    WindowFixture f;
    f.type(control<QLineEdit>(f.window(), "cmd"), QStringLiteral("clear"), true);
    QCOMPARE(f.logLines(), QStringList{kOk});
    QVERIFY(control<QLineEdit>(f.window(), "cmd")->text().isEmpty());
    // The log goes on from there.
    QCOMPARE(enter(f, QStringLiteral("x")),
             (QStringList{QStringLiteral("> x"), QStringLiteral("x unknom action."), kOk}));
}

void WindowConsoleTest::emptyEntryAddsNothing() {
    WindowFixture f;
    const QStringList before = f.logLines();
    QCOMPARE(before.size(), 4);
    f.type(control<QLineEdit>(f.window(), "cmd"), QString(), true);
    QCOMPARE(f.logLines(), before);
    QVERIFY(control<QLineEdit>(f.window(), "cmd")->text().isEmpty());
}

void WindowConsoleTest::fullLogDropsItsOldestLinesForTheHelp() {
    WindowFixture f;
    for (int i = 0; i < 797; ++i)
        part<talmo::CmdPage>(f.window())->LogLine(QStringLiteral("line %1").arg(i));
    const QStringList full = f.logLines();
    QCOMPARE(full.size(), 801);
    f.type(control<QLineEdit>(f.window(), "cmd"), QStringLiteral("help"), true);
    const QStringList after = f.logLines();
    QCOMPARE(after.size(), 801);
    QCOMPARE(after.mid(0, 801 - 23), full.mid(23));
    QCOMPARE(after.mid(801 - 23),
             QStringList{QStringLiteral("> help")} + helpListing() + QStringList{kOk});
}

QTEST_MAIN(WindowConsoleTest)
#include "window_console_test.moc"
