// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppIdentity.h"

#include <QGuiApplication>
#include <QIcon>

namespace talmo {

void identifyApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopId));
    QIcon icon;
    for (const int size : {16, 24, 32, 48})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);
}

} // namespace talmo
