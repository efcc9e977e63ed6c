// SPDX-License-Identifier: GPL-3.0-or-later
// The window's layout: the file panel left, the header bar and the notebook
// of pages right, the menus of the lists and the editor.
#include "TForm1.h"

#include "CmdPage.h"
#include "EditPage.h"
#include "FileListBox.h"
#include "FileMenus.h"
#include "FilePanel.h"
#include "GoPage.h"
#include "HeaderBar.h"
#include "HelpPage.h"
#include "ManPage.h"
#include "PageControls.h"
#include "QsciView.h"
#include "RSearchPage.h"
#include "SeePage.h"
#include "SnipPage.h"
#include "TextBytes.h"
#include "WorkingDirectory.h"

#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

void TForm1::buildLayout() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(" :: T A L M O ::"));
    resize(657, 545);

    auto* splitter = talmo::named(new QSplitter(Qt::Horizontal), "Splitter1");
    splitter->setChildrenCollapsible(false);
    m_filePanel = new talmo::FilePanel(m_startupDirectory, talmo::listFont());
    qclista = m_filePanel->sources();
    listado = m_filePanel->allFiles();
    splitter->addWidget(m_filePanel);

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(2);
    m_header = new talmo::HeaderBar;
    rightLayout->addWidget(m_header);

    Manager = talmo::named(new QTabWidget, "Manager");
    m_services = makePageServices();
    const talmo::PageServices& services = m_services;
    m_man = new talmo::ManPage(services, m_startupDirectory, dataFolder(),
                               [this] { return workingDirectory(); });
    Manager->addTab(m_man, QStringLiteral("&Man"));
    m_editPage = new talmo::EditPage(services, [this] { return editedName(); });
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
    sources.open = [this](const QString& name) { return openListedSource(name); };
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

std::filesystem::path TForm1::dataFolder() {
    return talmo::localPath(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

talmo::PageServices TForm1::makePageServices() {
    return {[this](const QString& line) { m_cmd->LogLine(line); },
            [this](const QString& message) { reportError(message); },
            [this](const QString& name) { return m_workingDirectory->filePath(name); }};
}

void TForm1::buildMenus() {
    auto* fileMenus = new talmo::FileMenus(
        m_services, this,
        {[this] { return qclista->selectedPath(); }, [this] { return listado->selectedPath(); }});
    fileMenus->attach(qclista, listado);
    connect(fileMenus, &talmo::FileMenus::filesChanged, m_filePanel,
            &talmo::FilePanel::RefreshFileLists);
}

talmo::QsciEditor* TForm1::editor() const {
    return &m_editPage->editor();
}
