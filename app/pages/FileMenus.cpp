// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileMenus.h"

#include "Batch.h"
#include "PathBytes.h"
#include "ShellRun.h"
#include "TextBytes.h"

#include <QAction>
#include <QFile>
#include <QMenu>

namespace talmo {

FileMenus::FileMenus(PageServices services, QWidget* window, Selections selections)
    : QObject(window), m_services(std::move(services)), m_window(window),
      m_selections(std::move(selections)) {
    PopupMenu1 = named(new QMenu(window), "PopupMenu1");
    openwithnotepad1 =
        namedAction(PopupMenu1, "openwithnotepad1", QStringLiteral("open with notepad"));
    delete1 = namedAction(PopupMenu1, "delete1", QStringLiteral("delete file"));

    PopupMenu2 = named(new QMenu(window), "PopupMenu2");
    shellopen1 = namedAction(PopupMenu2, "shellopen1", QStringLiteral("&shell open"));
    ExploreFolder1 = namedAction(PopupMenu2, "ExploreFolder1", QStringLiteral("&Explore Folder"));

    connect(openwithnotepad1, &QAction::triggered, this, [this] { openwithnotepad1Click(); });
    connect(delete1, &QAction::triggered, this, [this] { delete1Click(); });
    connect(shellopen1, &QAction::triggered, this, [this] { shellopen1Click(); });
    connect(ExploreFolder1, &QAction::triggered, this, [this] { ExploreFolder1Click(); });
}

void FileMenus::attach(QWidget* sourceList, QWidget* fileList) {
    attachContextMenu(sourceList, PopupMenu1);
    attachContextMenu(fileList, PopupMenu2);
}

void FileMenus::openwithnotepad1Click() {
    m_services.runReportingErrors([this] {
        writeAndRunBatchFile(m_services.pathInDirectory(QString::fromLatin1(kNotepadBatch)),
                             notepadBatchLines(pathBytes(localPath(m_selections.source()))), true,
                             ownerOf(m_window));
    });
}

void FileMenus::shellopen1Click() {
    m_services.runReportingErrors([this] {
        writeAndRunBatchFile(m_services.pathInDirectory(QString::fromLatin1(kShellBatch)),
                             shellBatchLines(pathBytes(localPath(m_selections.file()))), true,
                             ownerOf(m_window));
    });
}

void FileMenus::delete1Click() {
    // Renamed to .bak, never over another file: QFile::rename never replaces
    // an existing target.
    const QString path = m_selections.source();
    const bool ok = !path.isEmpty() && QFile::rename(path, path + QStringLiteral(".bak"));
    m_services.log(QStringLiteral("Rename file ") + path +
                   (ok ? QStringLiteral(" ok.") : QStringLiteral(" error!")));
    emit filesChanged();
}

void FileMenus::ExploreFolder1Click() {
    const std::string selected = pathBytes(localPath(m_selections.file()));
    openWithDefault(pathOfBytes(exploreFolderPath(selected)), ownerOf(m_window));
}

} // namespace talmo
