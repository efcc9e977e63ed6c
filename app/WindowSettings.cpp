// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowSettings.h"

#include "CommandLine.h"
#include "TForm1.h"

#include <QCoreApplication>
#include <QSplitter>
#include <QStandardPaths>

namespace talmo {

namespace {

const QString kGeometry = QStringLiteral("window/geometry");
const QString kState = QStringLiteral("window/state");
const QString kDirectory = QStringLiteral("window/lastDirectory");

// Each splitter of the window by a key: its objectName, else its place among
// the unnamed ones (a state restored into another splitter of the same kind
// only moves its divider).
template <typename Apply> void forEachSplitter(const TForm1& window, Apply apply) {
    int unnamed = 0;
    for (QSplitter* splitter : window.findChildren<QSplitter*>()) {
        const QString name =
            splitter->objectName().isEmpty() ? QString::number(unnamed++) : splitter->objectName();
        apply(*splitter, QStringLiteral("splitters/") + name);
    }
}

} // namespace

WindowSettings::WindowSettings()
    : WindowSettings(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                     QStringLiteral("/talmo.conf")) {}

WindowSettings::WindowSettings(const QString& file) : m_settings(file, QSettings::IniFormat) {}

QString WindowSettings::lastDirectory() const {
    return m_settings.value(kDirectory).toString();
}

void WindowSettings::restore(TForm1& window) const {
    window.restoreGeometry(m_settings.value(kGeometry).toByteArray());
    window.restoreState(m_settings.value(kState).toByteArray());
    forEachSplitter(window, [this](QSplitter& splitter, const QString& key) {
        splitter.restoreState(m_settings.value(key).toByteArray());
    });
}

void WindowSettings::save(const TForm1& window) {
    m_settings.setValue(kGeometry, window.saveGeometry());
    m_settings.setValue(kState, window.saveState());
    forEachSplitter(window, [this](QSplitter& splitter, const QString& key) {
        m_settings.setValue(key, splitter.saveState());
    });
    m_settings.setValue(kDirectory, window.workingDirectory());
    m_settings.sync();
}

void WindowSettings::follow(TForm1& window) {
    restore(window);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &window,
                     [this, &window] { save(window); });
}

bool openStartFile(TForm1& window, const StartRequest& request) {
    if (request.file.isEmpty())
        return false;
    return window.openFile(request.file);
}

} // namespace talmo
