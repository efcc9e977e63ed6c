// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher: the compiler and the CMD box through batch files written into
// the current directory (the game, notepad and the shell are started by the Go
// page and the file lists' menus). A batch file that cannot be written is not
// run; its failure goes to the default error report.
#include "TForm1.h"

#include "Batch.h"
#include "GoPage.h"
#include "PageControls.h"
#include "ShellRun.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using talmo::commandText;
using talmo::ownerOf;

void TForm1::wireLaunch() {
    connect(Button7, &QPushButton::clicked, m_go, &talmo::GoPage::goClick);
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

void TForm1::commanderKeyPress(char key) {
    if (key != '\r' || commander->text().isEmpty())
        return;
    runReportingErrors([this] {
        talmo::writeBatchFile(talmo::kCommandBatch,
                              talmo::commandBatchLines(commandText(commander->text())));
        talmo::dropLinkedOutput("commanderlog");
        talmo::runBatchFile(talmo::kCommandBatch, false, ownerOf(this));
    });
}
