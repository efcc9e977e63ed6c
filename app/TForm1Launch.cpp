// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher: the compiler, the game, notepad, the shell and the CMD box
// through batch files written into the current directory, and the folder of
// the all-files list opened on the desktop. A batch file that cannot be
// written is not run; its failure goes to the default error report.
#include "TForm1.h"

#include "TextBytes.h"

#include "Batch.h"
#include "CompileController.h"
#include "FileListBox.h"
#include "PathBytes.h"
#include "ShellRun.h"
#include "WorkingDirectory.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

using talmo::localPath;

namespace {

// A command typed by the user, as the platform's command processor reads it.
std::string typedText(const QLineEdit* box) {
    return box->text().toLocal8Bit().toStdString();
}

// The window that owns what the shell shows for a run.
std::uintptr_t ownerOf(const QWidget* window) {
    return static_cast<std::uintptr_t>(window->winId());
}

} // namespace

void TForm1::wireLaunch() {
    connect(qccarranca, &QPushButton::clicked, this, [this] { Button6Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { goClick(); });
    connect(Button7, &QPushButton::clicked, this, [this] { goClick(); });
    connect(openwithnotepad1, &QAction::triggered, this, [this] { openwithnotepad1Click(); });
    connect(shellopen1, &QAction::triggered, this, [this] { shellopen1Click(); });
    connect(ExploreFolder1, &QAction::triggered, this, [this] { ExploreFolder1Click(); });
    onKeyPress(commander, [this](char key) { commanderKeyPress(key); });
    wireMessages();
}

void TForm1::WriteCompileBatch() {
    m_compile->writeCompileBatch(typedText(compilerqc));
}

// Batch files are written by their full path into the working directory and
// run there by name (the shell runs in it).
void TForm1::Button6Click() {
    runReportingErrors([this] { m_compile->compile(typedText(compilerqc), ownerOf(this)); });
}

void TForm1::goClick() {
    runReportingErrors([this] {
        m_compile->runGame({typedText(pathquake), typedText(namequake), typedText(namemod),
                            typedText(paramsquake)},
                           ownerOf(this));
    });
}

void TForm1::openwithnotepad1Click() {
    runReportingErrors([this] {
        const std::filesystem::path batch = m_workingDirectory->filePath(talmo::kNotepadBatch);
        talmo::writeBatchFile(
            batch, talmo::notepadBatchLines(talmo::pathBytes(localPath(qclista->selectedPath()))));
        talmo::runBatchFile(batch.filename(), true, ownerOf(this));
    });
}

void TForm1::shellopen1Click() {
    runReportingErrors([this] {
        const std::filesystem::path batch = m_workingDirectory->filePath(talmo::kShellBatch);
        talmo::writeBatchFile(
            batch, talmo::shellBatchLines(talmo::pathBytes(localPath(listado->selectedPath()))));
        talmo::runBatchFile(batch.filename(), true, ownerOf(this));
    });
}

void TForm1::ExploreFolder1Click() {
    const std::string selected = talmo::pathBytes(localPath(listado->selectedPath()));
    talmo::openWithDefault(talmo::pathOfBytes(talmo::exploreFolderPath(selected)), ownerOf(this));
}

void TForm1::commanderKeyPress(char key) {
    if (key != '\r' || commander->text().isEmpty())
        return;
    runReportingErrors([this] {
        const std::filesystem::path batch = m_workingDirectory->filePath(talmo::kCommandBatch);
        talmo::writeBatchFile(batch, talmo::commandBatchLines(typedText(commander)));
        talmo::dropLinkedOutput(m_workingDirectory->filePath("commanderlog"));
        talmo::runBatchFile(batch.filename(), false, ownerOf(this));
    });
}
