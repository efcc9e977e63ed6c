// SPDX-License-Identifier: GPL-3.0-or-later
#include "DirectoryList.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace talmo {

namespace {

// Every directory the list holds or reports is absolute, in native form.
QString nativeDirectory(const QString& directory) {
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(directory).absolutePath()));
}

} // namespace

DirectoryList::DirectoryList(const QString& directory, QWidget* parent)
    : QListWidget(parent), m_directory(nativeDirectory(directory)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit enterRequested(pathOf(item)); });
    rebuild();
}

void DirectoryList::setDirectory(const QString& directory) {
    m_directory = nativeDirectory(directory);
    rebuild();
}

QString DirectoryList::pathOf(const QListWidgetItem* item) {
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void DirectoryList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        emit enterRequested(pathOf(currentItem()));
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirectoryList::rebuild() {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirIcon);

    QStringList chain; // the directory and its ancestors, innermost first
    QDir walk(m_directory);
    chain << walk.absolutePath();
    while (walk.cdUp())
        chain << walk.absolutePath();

    int depth = 0;
    for (qsizetype i = chain.size() - 1; i >= 0; --i, ++depth) {
        const QString path = QDir::toNativeSeparators(chain[i]);
        const QString name = i == chain.size() - 1 ? path : QFileInfo(chain[i]).fileName();
        auto* item = new QListWidgetItem(open, QString(depth * 2, u' ') + name, this);
        item->setData(Qt::UserRole, path);
        if (i == 0)
            setCurrentItem(item);
    }
    QDir here(m_directory);
    const QStringList subdirs =
        here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& sub : subdirs) {
        auto* item = new QListWidgetItem(closed, QString(depth * 2, u' ') + sub, this);
        item->setData(Qt::UserRole, QDir::toNativeSeparators(here.absoluteFilePath(sub)));
    }
}

} // namespace talmo
