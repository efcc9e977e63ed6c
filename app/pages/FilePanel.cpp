// SPDX-License-Identifier: GPL-3.0-or-later
#include "FilePanel.h"

#include "FileListBox.h"

namespace talmo {

FilePanel::FilePanel(const QString& directory, const QFont& listFont, QWidget* parent)
    : QTabWidget(parent) {
    setObjectName(QStringLiteral("TabbedNotebook1"));
    setToolTip(QStringLiteral("Qc files or General Files."));
    setMinimumWidth(110);

    m_sources = new FileListBox(directory, sourceMask());
    m_sources->setObjectName(QStringLiteral("qclista"));
    m_sources->setToolTip(QStringLiteral("Click->Save last & open new, DblClick->Save.. "));
    m_sources->setCursor(Qt::PointingHandCursor);
    m_sources->setFont(listFont);
    addTab(m_sources, QStringLiteral("&QC"));

    m_all = new FileListBox(directory, QStringLiteral("*.*"));
    m_all->setObjectName(QStringLiteral("listado"));
    m_all->setToolTip(QStringLiteral("Can damage files, click only in text files!"));
    m_all->setCursor(Qt::PointingHandCursor);
    m_all->setFont(listFont);
    addTab(m_all, QStringLiteral("&All"));
    setCurrentIndex(0);

    connect(m_sources, &QListWidget::itemClicked, this, &FilePanel::sourceSelected);
    connect(m_sources, &FileListBox::selectionChanged, this, &FilePanel::sourceSelected);
    connect(m_sources, &QListWidget::itemDoubleClicked, this, &FilePanel::sourceChosen);
    // A click shows once; a selection moved by keys shows too.
    connect(m_all, &FileListBox::chosen, this, &FilePanel::fileChosen);
}

void FilePanel::RefreshFileLists() {
    m_sources->reread(sourceMask());
    m_all->reread(QStringLiteral("*.*"));
}

} // namespace talmo
