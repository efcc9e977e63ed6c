// Talmo: opens the main window on the process's current directory.
#include "TForm1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talmo"));
    QApplication::setApplicationDisplayName(QStringLiteral(":: Talmo ::"));
    TForm1 window;
    window.show();
    return QApplication::exec();
}
