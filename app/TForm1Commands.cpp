// SPDX-License-Identifier: GPL-3.0-or-later
// Create New and delete.
#include "TForm1.h"

#include "TextBytes.h"

#include "FileListBox.h"
#include "HelpPage.h"
#include "NameAt.h"
#include "QsciEditor.h"
#include "Text.h"
#include "WorkingDirectory.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>

#include <optional>
#include <string>
#include <vector>

void TForm1::wireEditorCommands() {
    connect(newqc, &QLineEdit::textChanged, this, [this] { newqcChange(); });
    connect(create_new, &QPushButton::clicked, this, [this] { create_newClick(); });
}

void TForm1::newqcChange() {
    create_new->setEnabled(!newqc->text().isEmpty());
}

void TForm1::create_newClick() {
    QString name = newqc->text();
    if (!name.contains(QStringLiteral(".qc")))
        name += QStringLiteral(".qc");
    const std::string written = talmo::nameBytes(name);
    const std::vector<std::string> header = {"/////////////////////", "//  ", "//  " + written,
                                             "//  ", "/////////////////////"};
    try {
        talmo::writeFileBytes(m_workingDirectory->filePath(name), talmo::joinCrLf(header));
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
        return;
    }
    newqc->clear();
    listado->reread(QStringLiteral("*.*"));
    qclista->reread();
}

void TForm1::delete1Click() {
    const QString path = qclista->selectedPath();
    // QFile::rename never replaces an existing target.
    const bool ok = !path.isEmpty() && QFile::rename(path, path + QStringLiteral(".bak"));
    LogLine(QStringLiteral("Rename file ") + path +
            (ok ? QStringLiteral(" ok.") : QStringLiteral(" error!")));
    RefreshFileLists();
}
