// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher: the compiler, the game and the CMD box through batch files
// written by their full path into the working directory and run there by name
// (notepad and the shell are started by the file lists' menus). A batch file
// that cannot be written is not run; its failure goes to the default error
// report.
#include "TForm1.h"

#include "Batch.h"
#include "CompileController.h"
#include "EditPage.h"
#include "GoPage.h"
#include "PageControls.h"
#include "ShellRun.h"
#include "WorkingDirectory.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using talmo::commandText;
using talmo::ownerOf;

void TForm1::wireLaunch() {
    connect(m_editPage, &talmo::EditPage::goClicked, m_go, &talmo::GoPage::goClick);
    connect(m_go, &talmo::GoPage::gameWanted, this, [this](const talmo::GameSettings& game) {
        runReportingErrors([this, &game] { m_compile->runGame(game, ownerOf(this)); });
    });
    connect(m_editPage, &talmo::EditPage::commandEntered, this, &TForm1::runCommand);
    wireMessages();
}

void TForm1::WriteCompileBatch() {
    m_compile->writeCompileBatch(commandText(m_go->compiler()));
}

void TForm1::Button6Click() {
    runReportingErrors(
        [this] { m_compile->compile(commandText(m_go->compiler()), ownerOf(this)); });
}

void TForm1::runCommand(const QString& command) {
    runReportingErrors([this, &command] {
        talmo::dropLinkedOutput(m_workingDirectory->filePath("commanderlog"));
        talmo::writeAndRunBatchFile(m_workingDirectory->filePath(talmo::kCommandBatch),
                                    talmo::commandBatchLines(commandText(command)), false,
                                    ownerOf(this));
    });
}
