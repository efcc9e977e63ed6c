// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting the selected source file: renamed to .bak, never over another.
#include "TForm1.h"

#include "FileListBox.h"

#include <QFile>

void TForm1::delete1Click() {
    const QString path = qclista->selectedPath();
    // QFile::rename never replaces an existing target.
    const bool ok = !path.isEmpty() && QFile::rename(path, path + QStringLiteral(".bak"));
    LogLine(QStringLiteral("Rename file ") + path +
            (ok ? QStringLiteral(" ok.") : QStringLiteral(" error!")));
    RefreshFileLists();
}
