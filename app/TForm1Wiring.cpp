// SPDX-License-Identifier: GPL-3.0-or-later
// What the pages' and the controllers' signals lead to: browsing and the
// switch of the edited file, unsaved work, navigation, the compile loop and
// the pages that act on one another.
#include "TForm1.h"

#include "CmdPage.h"
#include "CompileController.h"
#include "EditController.h"
#include "EditPage.h"
#include "EditorNavigation.h"
#include "FileListBox.h"
#include "FilePanel.h"
#include "GoPage.h"
#include "HeaderBar.h"
#include "HelpPage.h"
#include "ManPage.h"
#include "MessageList.h"
#include "NavigationController.h"
#include "PageControls.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "RSearchPage.h"
#include "RecoverBar.h"
#include "SeePage.h"
#include "SnipPage.h"
#include "Text.h"
#include "TextBytes.h"
#include "WorkingDirectory.h"

#include <QTabWidget>

#include <exception>

using talmo::fileNamePart;

void TForm1::wireBrowsing() {
    m_edit = new talmo::EditController(*editor(), dataFolder(), this);
    m_edit->setAutosaveEnabled(m_man->autosaveEnabled());
    connect(m_man, &talmo::ManPage::autosaveToggled, m_edit,
            &talmo::EditController::setAutosaveEnabled);
    connect(m_edit, &talmo::EditController::log, m_cmd, &talmo::CmdPage::LogLine);
    for (auto loaded : {&talmo::EditController::loaded, &talmo::EditController::reloaded})
        connect(m_edit, loaded, this, [this] { showLoadedText(); });
    connect(m_workingDirectory, &talmo::WorkingDirectory::changed, this,
            &TForm1::followWorkingDirectory);

    connect(m_filePanel, &talmo::FilePanel::sourceSelected, this, [this] { qclistaClick(); });
    connect(m_filePanel, &talmo::FilePanel::sourceChosen, this, [this] { qclistaDblClick(); });
    connect(m_editPage, &talmo::EditPage::refreshClicked, this, [this] { qclistaDblClick(); });
    connect(m_filePanel, &talmo::FilePanel::fileChosen, this, [this] { listadoClick(); });

    m_navigation = new talmo::NavigationController(*editor(), *m_edit, *m_workingDirectory, this);
    connect(m_navigation, &talmo::NavigationController::log, m_cmd, &talmo::CmdPage::LogLine);
    connect(m_navigation, &talmo::NavigationController::listed, m_editPage->messageList(),
            &talmo::MessageList::showMessages);
    new talmo::EditorNavigation(*m_editPage->editorView(), *m_navigation);
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

void TForm1::offerJournals() {
    m_edit->offerJournals(talmo::localPath(workingDirectory()));
}

void TForm1::qclistaClick() {
    const QString path = qclista->selectedPath();
    if (path.isEmpty())
        return;
    try {
        m_go->setSourcePath(talmo::directoryPart(path));
        m_see->preview(path, path == m_edit->currentFile());
        showPage(2);
        Manager->setTabText(2, QStringLiteral("&See ") + fileNamePart(path));
    } catch (const std::exception&) {
        // Only logged: a failed preview never blocks the editor's autosave.
        m_cmd->LogLine(QStringLiteral("Open fail!!: "));
    }
}

void TForm1::qclistaDblClick() {
    openInEditor(qclista->selectedPath());
}

bool TForm1::openListedSource(const QString& name) {
    if (!qclista->selectName(name))
        return false;
    qclistaDblClick();
    return true;
}

bool TForm1::openFile(const QString& name) {
    if (openListedSource(name))
        return m_edit->currentFile() == qclista->selectedPath();
    return openInEditor(talmo::joinPath(workingDirectory(), name));
}

bool TForm1::openInEditor(const QString& path) {
    showPage(2);
    const bool opened = m_edit->open(talmo::localPath(path));
    showPage(1);
    return opened;
}

void TForm1::showLoadedText() {
    m_editPage->BuildFunctionIndex();
    m_editPage->syntaxcolorClick();
    Manager->setTabText(1, QStringLiteral("&Edit ") + editedName());
    editor()->setDefaultColour(talmo::kBlack);
    markMessageLines();
}

QString TForm1::editedName() const {
    return fileNamePart(m_edit->currentFile());
}

void TForm1::listadoClick() {
    showPage(0);
    m_man->listadoClick(listado->selectedPath());
}

void TForm1::wireRecovery() {
    connect(m_editPage->editorView(), &QsciScintilla::textChanged, m_edit,
            &talmo::EditController::textEdited);
    talmo::RecoverBar* recoverbar = m_editPage->recoverBar();
    connect(recoverbar, &talmo::RecoverBar::recoverClicked, m_edit,
            &talmo::EditController::recover);
    connect(recoverbar, &talmo::RecoverBar::discardClicked, m_edit,
            &talmo::EditController::discard);
    connect(m_edit, &talmo::EditController::offered, recoverbar, &talmo::RecoverBar::offer);
    connect(m_edit, &talmo::EditController::noOffer, recoverbar, &QWidget::hide);
    connect(m_edit, &talmo::EditController::recovered, this, [this] {
        showLoadedText();
        m_editPage->markEdited();
        showPage(1);
    });
}

void TForm1::wireLaunch() {
    m_compile = new talmo::CompileController(*m_edit, *m_workingDirectory, this);
    connect(m_compile, &talmo::CompileController::log, m_cmd, &talmo::CmdPage::LogLine);
    talmo::MessageList* messages = m_editPage->messageList();
    connect(m_compile, &talmo::CompileController::messagesRead, this,
            [this, messages](const QString& header, const QString& directory,
                             const std::vector<talmo::ListedMessage>& read) {
                messages->showMessages(header, directory, read);
                markMessageLines();
            });
    // A listed message leads to its file and line.
    connect(messages, &talmo::MessageList::messageActivated, this,
            [this](const talmo::ListedMessage& m, const std::filesystem::path& path) {
                if (m_compile->openMessage(m, path) && editor()->showLine(m.line - 1))
                    editor()->setFocus();
            });

    connect(m_header, &talmo::HeaderBar::compileClicked, this, [this] { Button6Click(); });
    connect(m_header, &talmo::HeaderBar::goClicked, m_go, &talmo::GoPage::goClick);
    connect(m_editPage, &talmo::EditPage::goClicked, m_go, &talmo::GoPage::goClick);
    connect(m_go, &talmo::GoPage::gameWanted, this, [this](const talmo::GameSettings& game) {
        m_services.runReportingErrors(
            [this, &game] { m_compile->runGame(game, talmo::ownerOf(this)); });
    });
}

void TForm1::Button6Click() {
    m_services.runReportingErrors(
        [this] { m_compile->compile(talmo::commandText(m_go->compiler()), talmo::ownerOf(this)); });
}

void TForm1::markMessageLines() {
    talmo::QsciView* view = m_editPage->editorView();
    view->clearLineMarks();
    for (const talmo::CompileController::LineMark& m : m_compile->marksOfEditedFile())
        view->addLineMark(m.line, m.error ? talmo::QsciView::LineMark::Error
                                          : talmo::QsciView::LineMark::Warning);
}

void TForm1::wirePages() {
    connect(m_rsearch, &talmo::RSearchPage::editorWanted, this, [this] { showPage(1); });
    connect(m_rsearch, &talmo::RSearchPage::fileListsStale, m_filePanel,
            &talmo::FilePanel::RefreshFileLists);
    connect(m_rsearch, &talmo::RSearchPage::sourceListStale, this, [this] { qclista->reread(); });
    connect(m_rsearch, &talmo::RSearchPage::findInEditor, m_editPage, &talmo::EditPage::findText);
    connect(m_go, &talmo::GoPage::directoryEntered, this, &TForm1::changeWorkingDirectory);
    connect(m_man, &talmo::ManPage::directoryEntered, this, &TForm1::changeWorkingDirectory);
    connect(m_man, &talmo::ManPage::maskChosen, this,
            [this](const QString& mask) { listado->setMask(mask); });
    connect(m_man, &talmo::ManPage::fileWritten, m_navigation,
            &talmo::NavigationController::fileWritten);
    connect(m_man, &talmo::ManPage::fileCreated, m_filePanel, &talmo::FilePanel::RefreshFileLists);
    connect(m_editPage, &talmo::EditPage::helpWanted, this, [this](const std::string& word) {
        showPage(7);
        if (!word.empty())
            m_help->showEntry(word);
    });
    connect(m_editPage, &talmo::EditPage::captionChanged, this,
            [this](const QString& caption) { Manager->setTabText(1, caption); });
}
