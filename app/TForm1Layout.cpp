// SPDX-License-Identifier: GPL-3.0-or-later
// Building the window's controls with their captions, hints and initial values.
#include "TForm1.h"

#include "CmdPage.h"
#include "EditPage.h"
#include "EditorMenu.h"
#include "FileListBox.h"
#include "FileMenus.h"
#include "FilePanel.h"
#include "FunctionCombo.h"
#include "GoPage.h"
#include "HeaderBar.h"
#include "HelpPage.h"
#include "ManPage.h"
#include "PageControls.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "RSearchPage.h"
#include "RecoverBar.h"
#include "SeePage.h"
#include "SnipPage.h"
#include "WorkingDirectory.h"

#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

using talmo::button;
using talmo::courierFont;
using talmo::FileListBox;
using talmo::fixedFont;
using talmo::label;
using talmo::lineEdit;
using talmo::listFont;
using talmo::memo;
using talmo::named;

void TForm1::buildLayout() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" :: T A L M O ::"));
    resize(657, 545);

    auto* splitter = named(new QSplitter(Qt::Horizontal), "Splitter1");
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildLeftPanel());

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(2);

    m_header = new talmo::HeaderBar;
    rightLayout->addWidget(m_header);

    Manager = named(new QTabWidget, "Manager");
    const talmo::PageServices services = pageServices();
    m_man = new talmo::ManPage(services, m_startupDirectory, dataFolder(),
                               [this] { return workingDirectory(); });
    Manager->addTab(m_man, QStringLiteral("&Man"));
    m_editPage = new talmo::EditPage(services, [this] { return fileNamePart(currentFile()); });
    Manager->addTab(m_editPage, QStringLiteral("&Edit"));
    m_see = new talmo::SeePage;
    Manager->addTab(m_see, QStringLiteral("&See"));
    talmo::RSearchPage::SourceFiles sources;
    sources.names = [this] {
        QStringList names;
        for (int i = 0; i < qclista->count(); ++i)
            names << qclista->item(i)->text();
        return names;
    };
    sources.open = [this](const QString& name) {
        if (!qclista->selectName(name))
            return false;
        qclistaDblClick();
        return true;
    };
    sources.directory = [this] { return workingDirectory(); };
    m_rsearch = new talmo::RSearchPage(services, *editor(), std::move(sources));
    Manager->addTab(m_rsearch, QStringLiteral("&RSearch"));
    m_go = new talmo::GoPage(services, m_startupDirectory);
    Manager->addTab(m_go, QStringLiteral("&Go"));
    m_snip = new talmo::SnipPage(services, m_startupDirectory);
    Manager->addTab(m_snip, QStringLiteral("&Snip"));
    m_cmd = new talmo::CmdPage({[this] { return m_man->autosaveEnabled(); },
                                [this](bool on) { m_man->setAutosaveEnabled(on); },
                                [this] { return workingDirectory(); }});
    Manager->addTab(m_cmd, QStringLiteral("&Cmd"));
    m_help = new talmo::HelpPage;
    Manager->addTab(m_help, QStringLiteral("&Help"));
    Manager->setCurrentIndex(1);
    rightLayout->addWidget(Manager, 1);

    splitter->addWidget(right);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({129, 528});
    setCentralWidget(splitter);

    buildMenus();
}

talmo::PageServices TForm1::pageServices() {
    return {[this](const QString& line) { LogLine(line); },
            [this](const QString& message) { reportError(message); },
            [this](const QString& name) { return m_workingDirectory->filePath(name); }};
}

void TForm1::wirePages() {
    connect(m_header, &talmo::HeaderBar::compileClicked, this, [this] { Button6Click(); });
    connect(m_header, &talmo::HeaderBar::goClicked, m_go, &talmo::GoPage::goClick);
    connect(m_rsearch, &talmo::RSearchPage::editorWanted, this, [this] { showPage(1); });
    connect(m_rsearch, &talmo::RSearchPage::fileListsStale, this, [this] { RefreshFileLists(); });
    connect(m_rsearch, &talmo::RSearchPage::sourceListStale, this, [this] { qclista->reread(); });
    connect(m_rsearch, &talmo::RSearchPage::findInEditor, m_editPage, &talmo::EditPage::findText);
    connect(m_go, &talmo::GoPage::directoryEntered, this,
            [this](const QString& path) { changeWorkingDirectory(path); });
    connect(m_man, &talmo::ManPage::directoryEntered, this,
            [this](const QString& path) { changeWorkingDirectory(path); });
    connect(m_man, &talmo::ManPage::maskChosen, this,
            [this](const QString& mask) { listado->setMask(mask); });
    connect(m_man, &talmo::ManPage::fileWritten, this,
            [this](const QString& path) { fileWritten(path); });
    connect(m_man, &talmo::ManPage::fileCreated, this, [this] {
        listado->reread(QStringLiteral("*.*"));
        qclista->reread();
    });
    connect(m_fileMenus, &talmo::FileMenus::deleteChosen, this, [this] { delete1Click(); });
    connect(m_editorMenu, &talmo::EditorMenu::cutChosen, m_editPage, &talmo::EditPage::cut1Click);
    connect(m_editorMenu, &talmo::EditorMenu::copyChosen, m_editPage, &talmo::EditPage::copy1Click);
    connect(m_editorMenu, &talmo::EditorMenu::pasteChosen, m_editPage,
            &talmo::EditPage::Paste1Click);
    connect(m_editorMenu, &talmo::EditorMenu::nextChosen, m_editPage, &talmo::EditPage::next1Click);
    connect(m_editorMenu, &talmo::EditorMenu::helpChosen, m_editPage, &talmo::EditPage::help1Click);
    connect(m_editPage, &talmo::EditPage::helpWanted, this, [this](const std::string& word) {
        showPage(7);
        if (!word.empty())
            m_help->showEntry(word);
    });
    connect(m_editPage, &talmo::EditPage::captionChanged, this,
            [this](const QString& caption) { Manager->setTabText(1, caption); });
}

talmo::QsciEditor* TForm1::editor() const {
    return &m_editPage->editor();
}

talmo::MessageList* TForm1::messageList() const {
    return m_editPage->messageList();
}

QString TForm1::lastSearch() const {
    return m_editPage->lastSearch();
}

void TForm1::syntaxcolorClick() {
    m_editPage->syntaxcolorClick();
}

void TForm1::BuildFunctionIndex() {
    m_editPage->BuildFunctionIndex();
}

QWidget* TForm1::buildLeftPanel() {
    m_filePanel = new talmo::FilePanel(m_startupDirectory, listFont());
    TabbedNotebook1 = m_filePanel;
    qclista = m_filePanel->sources();
    listado = m_filePanel->allFiles();
    return m_filePanel;
}

void TForm1::buildMenus() {
    m_fileMenus = new talmo::FileMenus(
        pageServices(), this,
        {[this] { return qclista->selectedPath(); }, [this] { return listado->selectedPath(); }});
    m_fileMenus->attach(qclista, listado);
    m_editorMenu = new talmo::EditorMenu(this);
    m_editorMenu->attach(m_editPage->editorView());
}
