// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the real main window on the current directory and saves one PNG per
// page of the right-hand notebook into the folder given as argument, then two
// more of the Edit page: after a compile, with the compiler's messages listed
// under the editor, and after Shift+F12, with the usages of a name there.
#include "EditController.h"
#include "FileListBox.h"
#include "NavigationController.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "TForm1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// How long the compile, or the index of the mod, may take before the picture
// is given up.
constexpr int kWaitTimeoutMs = 20000;

// The name whose usages are pictured, and the file it is looked up in.
constexpr const char* kUsagesName = "SUB_Remove";
constexpr const char* kUsagesFile = "subs.qc";

// Runs the event loop until `done` holds or the time is up; whether it held.
template <typename Done> bool waitFor(Done done) {
    QElapsedTimer waited;
    waited.start();
    QEventLoop loop;
    QTimer poll;
    poll.callOnTimeout(&loop, [&] {
        if (done() || waited.elapsed() >= kWaitTimeoutMs)
            loop.quit();
    });
    poll.start(50);
    loop.exec();
    QApplication::processEvents();
    return done();
}

// The compile runs through the batch runner, found on PATH from here: the
// build puts it beside the talmo executable, not beside this one. The batch's
// "notepad log" line gets a notepad that does nothing, so no viewer is
// started on the display for a picture that shows the window only.
bool prepareCompileRun(const QTemporaryDir& stubs) {
    if (!stubs.isValid())
        return false;
    QFile notepad(QDir(stubs.path()).filePath(QStringLiteral("notepad")));
    if (!notepad.open(QIODevice::WriteOnly) || notepad.write("#!/bin/sh\nexit 0\n") < 0)
        return false;
    notepad.close();
    notepad.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const char separator = QDir::listSeparator().toLatin1();
    QByteArray path = QFile::encodeName(stubs.path());
#ifdef TALMO_BATCH_DIR
    path += separator + QByteArray(TALMO_BATCH_DIR);
#endif
    const QByteArray old = qgetenv("PATH");
    if (!old.isEmpty())
        path += separator + old;
    return qputenv("PATH", path);
}

// The name of the first source file (.qc) of the file list; empty when
// there is none.
QString firstSourceFile(const TForm1& window) {
    const auto* sources = window.findChild<talmo::FileListBox*>(QStringLiteral("qclista"));
    for (int row = 0; row < sources->count(); ++row) {
        const QString name = sources->item(row)->text();
        if (name.endsWith(QStringLiteral(".qc"), Qt::CaseInsensitive))
            return name;
    }
    return {};
}

// Clicks "refresh" on the Edit page, which loads the source list's
// selected entry as a double click does.
void loadSelectedSource(const TForm1& window) {
    window.findChild<QPushButton*>(QStringLiteral("refresh"))->click();
}

// Selects the source list's entry `name` and loads it; whether it is then
// the file in the editor.
bool openSource(const TForm1& window, const QString& name) {
    auto* sources = window.findChild<talmo::FileListBox*>(QStringLiteral("qclista"));
    if (!sources->selectName(name))
        return false;
    loadSelectedSource(window);
    return window.findChild<talmo::EditController*>()->currentFile() == sources->selectedPath();
}

bool save(QWidget& window, const QString& file) {
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// A dark desktop palette, as a dark theme gives the application.
void useDarkPalette() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
    dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::ToolTipBase, QColor(0x23, 0x23, 0x23));
    dark.setColor(QPalette::ToolTipText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    QApplication::setPalette(dark);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    if (args.size() > 1 && args[1] == QLatin1String("--dark")) {
        useDarkPalette();
        args.removeAt(1);
    }
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: talmo-screenshot [--dark] OUTPUT_DIR\n");
        return 2;
    }
    const QString outDir = args[1];
    QDir().mkpath(outDir);
    TForm1 window;
    window.setErrorReporter([](const QString& message) {
        std::fprintf(stderr, "error report: %s\n", qPrintable(message));
    });
    window.show();
    // Preview and load the first source file, so the pages show real content.
    auto* sources = window.findChild<talmo::FileListBox*>(QStringLiteral("qclista"));
    if (sources->count() > 0) {
        sources->setCurrentRow(0);
        loadSelectedSource(window);
        sources->setCurrentRow(sources->count() > 1 ? 1 : 0);
    }
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("Manager"));
    int failures = 0;
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QApplication::processEvents();
        QString name = pages->tabText(page);
        name.remove(u'&');
        name = name.trimmed().section(u' ', 0, 0).toLower();
        const QString file = QDir(outDir).filePath(QStringLiteral("%1-%2.png").arg(page).arg(name));
        if (!save(window, file))
            ++failures;
    }
    // The Edit page after "QCC!": fteqcc on the loaded source file's mod,
    // pictured once the message list under the editor shows.
    const QTemporaryDir stubs;
    const QString source = firstSourceFile(window);
    const auto* messages = window.findChild<QAbstractItemView*>(QStringLiteral("qccmessages"));
    if (!prepareCompileRun(stubs) || source.isEmpty() || messages == nullptr ||
        !openSource(window, source)) {
        std::fprintf(stderr, "cannot prepare the compile\n");
        ++failures;
    } else {
        window.findChild<QLineEdit*>(QStringLiteral("compilerqc"))
            ->setText(QStringLiteral("fteqcc"));
        // The compile runs in the current directory; what it adds there
        // (batch file, log, progs and the like) goes again afterwards.
        const QDir mod = QDir::current();
        const QStringList before = mod.entryList(QDir::Files | QDir::Hidden);
        window.findChild<QPushButton*>(QStringLiteral("qccarranca"))->click();
        if (!waitFor([&] { return messages->isVisible(); })) {
            std::fprintf(stderr, "no compiler messages after %d s\n", kWaitTimeoutMs / 1000);
            ++failures;
        } else if (!save(window, QDir(outDir).filePath(QStringLiteral("1-edit-compiled.png")))) {
            ++failures;
        }
        for (const QString& name : mod.entryList(QDir::Files | QDir::Hidden)) {
            if (!before.contains(name))
                QFile::remove(mod.filePath(name));
        }
    }
    // The Edit page after Shift+F12 on a function the mod uses in several
    // files, once the definitions of the mod are read.
    auto* navigation = window.findChild<talmo::NavigationController*>();
    const long at =
        openSource(window, QLatin1String(kUsagesFile))
            ? static_cast<long>(window.findChild<talmo::QsciView*>(QStringLiteral("talmo"))
                                    ->editor()
                                    ->text()
                                    .find(kUsagesName))
            : -1;
    if (at < 0 || !waitFor([&] { return navigation->indexReady(); })) {
        std::fprintf(stderr, "no %s in %s, or no index of the mod\n", kUsagesName, kUsagesFile);
        ++failures;
    } else {
        window.findChild<talmo::QsciView*>(QStringLiteral("talmo"))
            ->editor()
            ->setSelectionStart(at);
        navigation->findUsages();
        QApplication::processEvents();
        if (!save(window, QDir(outDir).filePath(QStringLiteral("1-edit-usages.png"))))
            ++failures;
    }
    // Leave the example mod untouched on the way out.
    window.findChild<QCheckBox*>(QStringLiteral("auto"))->setChecked(false);
    return failures == 0 ? 0 : 1;
}
