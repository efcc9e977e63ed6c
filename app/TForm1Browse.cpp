// SPDX-License-Identifier: GPL-3.0-or-later
// The working directory, the file lists, the preview, the switch of the
// edited file with its autosave.
#include "TForm1.h"

#include "TextBytes.h"

#include "EditController.h"
#include "EditPage.h"
#include "EditSession.h"
#include "FileListBox.h"
#include "FilePanel.h"
#include "GoPage.h"
#include "ManPage.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "SeePage.h"
#include "SnipPage.h"
#include "Text.h"
#include "WorkingDirectory.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>

#include <exception>

using talmo::FileListBox;

using talmo::localPath;

void TForm1::wireBrowsing() {
    m_edit = new talmo::EditController(*editor(), dataFolder(), this);
    m_edit->setAutosaveEnabled(m_man->autosaveEnabled());
    connect(m_man, &talmo::ManPage::autosaveToggled, m_edit,
            &talmo::EditController::setAutosaveEnabled);
    connect(m_edit, &talmo::EditController::log, this, &TForm1::LogLine);
    for (auto loaded : {&talmo::EditController::loaded, &talmo::EditController::reloaded})
        connect(m_edit, loaded, this, [this] {
            showLoadedText();
            markMessageLines();
        });
    connect(m_workingDirectory, &talmo::WorkingDirectory::changed, this,
            [this](const QString& now) { followWorkingDirectory(now); });

    connect(m_filePanel, &talmo::FilePanel::sourceSelected, this, [this] { qclistaClick(); });
    connect(m_filePanel, &talmo::FilePanel::sourceChosen, this, [this] { qclistaDblClick(); });
    connect(m_editPage, &talmo::EditPage::refreshClicked, this, [this] { qclistaDblClick(); });
    connect(m_filePanel, &talmo::FilePanel::fileChosen, this, [this] { listadoClick(); });
}

QString TForm1::workingDirectory() const {
    return m_workingDirectory->path();
}

void TForm1::changeWorkingDirectory(const QString& path) {
    if (path.isEmpty() || path == workingDirectory())
        return;
    // A directory that cannot be entered changes nothing; what follows a
    // change still runs.
    if (!m_workingDirectory->change(path))
        followWorkingDirectory(workingDirectory());
}

void TForm1::followWorkingDirectory(const QString& now) {
    m_man->setDirectory(now);
    qclista->setDirectory(now);
    dirChange();
}

void TForm1::dirChange() {
    listado->setDirectory(workingDirectory());
    m_snip->setDirectory(workingDirectory());
    setWindowTitle(QStringLiteral(":: T A L M O :: - ") + workingDirectory());
    if (m_shown)
        offerJournals();
}

void TForm1::RefreshFileLists() {
    m_filePanel->RefreshFileLists();
}

void TForm1::qclistaClick() {
    const QString path = qclista->selectedPath();
    if (path.isEmpty())
        return;
    try {
        m_go->setSourcePath(talmo::directoryPart(path));
        m_see->preview(path, path == currentFile());
        showPage(2);
        Manager->setTabText(2, QStringLiteral("&See ") + fileNamePart(path));
    } catch (const std::exception&) {
        // Only logged: a failed preview never blocks the editor's autosave.
        LogLine(QStringLiteral("Open fail!!: "));
    }
}

QString TForm1::currentFile() const {
    return m_edit->currentFile();
}

bool TForm1::editFailed() const {
    return m_edit->failed();
}

bool TForm1::autosaveCurrentFile(QString* why) {
    return m_edit->autosave(why);
}

void TForm1::qclistaDblClick() {
    openInEditor(qclista->selectedPath());
}

std::optional<bool> TForm1::openListedSource(const QString& name) {
    if (!qclista->selectName(name))
        return std::nullopt;
    qclistaDblClick();
    return currentFile() == qclista->selectedPath();
}

bool TForm1::openInEditor(const QString& path) {
    return openInEditor(localPath(path));
}

bool TForm1::openInEditor(const std::filesystem::path& path) {
    showPage(2);
    const bool opened = m_edit->open(path);
    showPage(1);
    return opened;
}

void TForm1::showLoadedText() {
    BuildFunctionIndex();
    syntaxcolorClick();
    Manager->setTabText(1, QStringLiteral("&Edit ") + fileNamePart(currentFile()));
    editor()->setDefaultColour(talmo::kBlack);
}

void TForm1::followEditedFile() {
    m_edit->followDisk();
}

void TForm1::listadoClick() {
    showPage(0);
    m_man->listadoClick(listado->selectedPath());
}

QString TForm1::manFile() const {
    return m_man->manFile();
}
