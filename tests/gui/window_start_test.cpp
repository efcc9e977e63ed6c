// SPDX-License-Identifier: GPL-3.0-or-later
// The window as the program starts it: what a restart remembers (in a scratch
// settings file, never the user's), `talmo FILE`, and a dark palette.
#include "WindowFixture.h"

#include "CommandLine.h"
#include "FileListBox.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "WindowSettings.h"
#include "WorkingDirectory.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>

#include <Qsci/qsciscintillabase.h>

#include <cstdlib>
#include <memory>

using talmo::testing::control;
using talmo::testing::currentFile;
using talmo::testing::editor;
using talmo::testing::editorView;
using talmo::testing::part;
using talmo::testing::WindowFixture;
using talmo::testing::writeFile;

namespace {

// A window opened on `directory` as main() opens it.
std::unique_ptr<TForm1> startWindow(const QString& directory, talmo::WindowSettings& settings) {
    if (!QDir::setCurrent(directory))
        qFatal("cannot enter %s", qPrintable(directory));
    auto window = std::make_unique<TForm1>();
    window->setErrorReporter([](const QString& message) { qFatal("%s", qPrintable(message)); });
    settings.restore(*window);
    window->show();
    QTest::qWait(1);
    return window;
}

// How far apart two colours are in lightness (0 to 255).
int contrast(const QColor& a, const QColor& b) {
    return std::abs(a.lightness() - b.lightness());
}

QColor fromBgr(long bgr) {
    return QColor(static_cast<int>(bgr & 0xff), static_cast<int>((bgr >> 8) & 0xff),
                  static_cast<int>((bgr >> 16) & 0xff));
}

} // namespace

class WindowStartTest : public QObject {
    Q_OBJECT
private slots:
    void aRestartKeepsTheLayoutAndTheMenuReopensTheLastDirectory();
    void aFileOnTheCommandLineIsLoadedAsADoubleClickLoadsIt_data();
    void aFileOnTheCommandLineIsLoadedAsADoubleClickLoadsIt();
    void thePreviewAndTheLogReadUnderADarkPalette();
    void aListEntryShowsItsFullNameAsItsTooltip();
};

void WindowStartTest::aRestartKeepsTheLayoutAndTheMenuReopensTheLastDirectory() {
    const QTemporaryDir scratch;
    const QString mod = QDir(scratch.path()).filePath(QStringLiteral("módé"));
    const QString sub = QDir(mod).filePath(QStringLiteral("sub ñ"));
    QVERIFY(QDir().mkpath(sub));
    const QString file = QDir(scratch.path()).filePath(QStringLiteral("config/talmo.conf"));
    const QString before = QDir::currentPath();

    {
        talmo::WindowSettings first(file);
        auto window = startWindow(mod, first);
        QCOMPARE(window->size(), QSize(657, 545)); // the first start's documented size
        window->resize(760, 580);
        auto* panels = window->findChild<QSplitter*>(QStringLiteral("Splitter1"));
        QVERIFY(panels);
        panels->setSizes({230, 530});
        QVERIFY(part<talmo::WorkingDirectory>(*window)->change(sub));
        first.save(*window);
        control<QCheckBox>(*window, "auto")->setChecked(false);
    }

    talmo::WindowSettings again(file);
    talmo::StartRequest fromMenu;
    fromMenu.directory = mod; // the menu starts Talmo in the home folder
    fromMenu.lastDirectory = true;
    const QString opened = talmo::startDirectory(fromMenu, again.lastDirectory());
    QCOMPARE(opened, sub);
    auto window = startWindow(opened, again);
    QCOMPARE(window->size(), QSize(760, 580));
    QCOMPARE(control<QTabWidget>(*window, "TabbedNotebook1")->width(), 230); // the file panel
    QCOMPARE(part<talmo::WorkingDirectory>(*window)->path(), sub);
    QCOMPARE(control<talmo::FileListBox>(*window, "qclista")->directory(), sub);
    control<QCheckBox>(*window, "auto")->setChecked(false);
    window.reset();
    QDir::setCurrent(before);
}

void WindowStartTest::aFileOnTheCommandLineIsLoadedAsADoubleClickLoadsIt_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");
    QTest::newRow("a listed source file, non-ASCII name") << QStringLiteral("ñandú.qc") << true;
    QTest::newRow("a header the source list does not show") << QStringLiteral("defs.qh") << false;
}

void WindowStartTest::aFileOnTheCommandLineIsLoadedAsADoubleClickLoadsIt() {
    QFETCH(QString, name);
    QFETCH(bool, listed);
    const std::string bytes("void() a = {\r\n\x80\xa0\xff\0z\r\n};\r\n", 25);
    WindowFixture f({{name, bytes}, {QStringLiteral("other.qc"), "x\r\n"}});
    TForm1& w = f.window();
    const talmo::StartRequest start =
        talmo::parseCommandLine({QStringLiteral("talmo"), f.path(name)});
    QCOMPARE(start.directory, part<talmo::WorkingDirectory>(w)->path());

    QVERIFY(talmo::openStartFile(w, start));
    QCOMPARE(currentFile(w), f.path(name));
    QCOMPARE(editor(w)->text(), bytes);
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 1);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit ") + name);
    QCOMPARE(control<talmo::FileListBox>(w, "qclista")->selectedName(), listed ? name : QString());
    QVERIFY(f.errors.isEmpty());
}

void WindowStartTest::thePreviewAndTheLogReadUnderADarkPalette() {
    const QPalette saved = QApplication::palette();
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::Base})
        dark.setColor(role, QColor(0x35, 0x35, 0x35));
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        dark.setColor(role, QColor(0xee, 0xee, 0xee));
    QApplication::setPalette(dark);
    {
        WindowFixture f({{QStringLiteral("a.qc"), "float x;\r\n"}});
        TForm1& w = f.window();
        QVERIFY(f.clickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("a.qc")));
        const QColor text =
            fromBgr(editorView(w, "veer")->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, 0UL));
        const QColor paper =
            fromBgr(editorView(w, "veer")->SendScintilla(QsciScintillaBase::SCI_STYLEGETBACK, 0UL));
        QVERIFY2(contrast(text, paper) > 120, qPrintable(text.name() + u' ' + paper.name()));
        const QPalette log = control<QPlainTextEdit>(w, "log")->palette();
        QVERIFY(contrast(log.color(QPalette::Text), log.color(QPalette::Base)) > 120);
        // The editor keeps its black on its own white paper.
        QCOMPARE(fromBgr(editorView(w)->SendScintilla(QsciScintillaBase::SCI_STYLEGETBACK, 0UL)),
                 QColor(Qt::white));
        QCOMPARE(fromBgr(editorView(w)->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, 0UL)),
                 QColor(Qt::black));
    }
    QApplication::setPalette(saved);
}

void WindowStartTest::aListEntryShowsItsFullNameAsItsTooltip() {
    const QString name = QStringLiteral("ai_ammoresistance_of_the_ñandú_monsters.qc");
    WindowFixture f({{name, "x\r\n"}});
    TForm1& w = f.window();
    for (talmo::FileListBox* list :
         {control<talmo::FileListBox>(w, "qclista"), control<talmo::FileListBox>(w, "listado")}) {
        const auto found = list->findItems(name, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first()->toolTip(), name);
    }
}

QTEST_MAIN(WindowStartTest)
#include "window_start_test.moc"
