// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher: the compiler, the game, notepad, the shell and the CMD box
// through batch files written into the current directory, and the folder of
// the all-files list opened on the desktop. A batch file that cannot be
// written is not run; its failure goes to the default error report.
#include "TForm1.h"

#include "TextBytes.h"

#include "Batch.h"
#include "FileListBox.h"
#include "GoPage.h"
#include "PageControls.h"
#include "PathBytes.h"
#include "ShellRun.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

using talmo::localPath;

namespace {

std::string typedText(const QLineEdit* box) {
    return talmo::commandText(box->text());
}

std::uintptr_t ownerOf(const QWidget* window) {
    return talmo::ownerOf(window);
}

} // namespace

void TForm1::wireLaunch() {
    connect(Button7, &QPushButton::clicked, m_go, &talmo::GoPage::goClick);
    connect(openwithnotepad1, &QAction::triggered, this, [this] { openwithnotepad1Click(); });
    connect(shellopen1, &QAction::triggered, this, [this] { shellopen1Click(); });
    connect(ExploreFolder1, &QAction::triggered, this, [this] { ExploreFolder1Click(); });
    onKeyPress(commander, [this](char key) { commanderKeyPress(key); });
    wireMessages();
}

void TForm1::WriteCompileBatch() {
    talmo::writeBatchFile(talmo::kCompileBatch,
                          talmo::compileBatchLines(talmo::commandText(m_go->compiler())));
    talmo::dropLinkedOutput("log");
}

void TForm1::Button6Click() {
    // The compiler reads the files on disk: write the edited one first.
    if (autosave->isChecked())
        autosaveCurrentFile();
    runReportingErrors([this] {
        WriteCompileBatch();
        // A watched run lists the compiler's messages when it ends.
        if (!startWatchedCompile())
            talmo::runBatchFile(talmo::kCompileBatch, true, ownerOf(this));
    });
}

void TForm1::openwithnotepad1Click() {
    runReportingErrors([this] {
        talmo::writeBatchFile(talmo::kNotepadBatch, talmo::notepadBatchLines(talmo::pathBytes(
                                                        localPath(qclista->selectedPath()))));
        talmo::runBatchFile(talmo::kNotepadBatch, true, ownerOf(this));
    });
}

void TForm1::shellopen1Click() {
    runReportingErrors([this] {
        talmo::writeBatchFile(talmo::kShellBatch, talmo::shellBatchLines(talmo::pathBytes(
                                                      localPath(listado->selectedPath()))));
        talmo::runBatchFile(talmo::kShellBatch, true, ownerOf(this));
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
        talmo::writeBatchFile(talmo::kCommandBatch, talmo::commandBatchLines(typedText(commander)));
        talmo::dropLinkedOutput("commanderlog");
        talmo::runBatchFile(talmo::kCommandBatch, false, ownerOf(this));
    });
}
