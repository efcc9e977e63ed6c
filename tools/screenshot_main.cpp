// Shows the real main window on the current directory and saves one PNG per
// page of the right-hand notebook into the folder given as argument.
#include "TForm1.h"

#include "FileListBox.h"
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: talmo-screenshot OUTPUT_DIR\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    TForm1 window;
    window.setErrorReporter([](const QString& message) {
        std::fprintf(stderr, "error report: %s\n", qPrintable(message));
    });
    window.show();
    // Preview and load the first source file, so the pages show real content.
    if (window.qclista->count() > 0) {
        window.qclista->setCurrentRow(0);
        window.qclistaDblClick();
        window.qclista->setCurrentRow(window.qclista->count() > 1 ? 1 : 0);
    }
    int failures = 0;
    for (int page = 0; page < window.Manager->count(); ++page) {
        window.Manager->setCurrentIndex(page);
        QApplication::processEvents();
        QString name = window.Manager->tabText(page);
        name.remove(u'&');
        name = name.trimmed().section(u' ', 0, 0).toLower();
        const QString file = QDir(outDir).filePath(QStringLiteral("%1-%2.png").arg(page).arg(name));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
    }
    // Leave the example mod untouched on the way out.
    window.autosave->setChecked(false);
    return failures == 0 ? 0 : 1;
}
