// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileListBox.h"

#include <algorithm>

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>

namespace talmo {

namespace {

#ifdef Q_OS_WIN
constexpr QChar kSeparator = u'\\';
#else
constexpr QChar kSeparator = u'/';
#endif

} // namespace

QString sourceMask() {
    return QStringLiteral("*.qc;*.src;*.txt");
}

QStringList maskPatterns(const QString& mask) {
    QStringList patterns = mask.split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
        // The wildcard of the masks' home system: "*.*" is every file.
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
    }
    return patterns;
}

QString joinPath(const QString& directory, const QString& name) {
    if (directory.endsWith(kSeparator) || directory.endsWith(u'/'))
        return directory + name;
    return directory + kSeparator + name;
}

QString directoryPart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(kSeparator), path.lastIndexOf(u'/'));
    if (cut < 0)
        return QString();
    const QString head = path.left(cut);
    // Keep the separator at a root ("/" or "C:\").
    if (head.isEmpty() || (head.size() == 2 && head[1] == u':'))
        return path.left(cut + 1);
    return head;
}

QString fileNamePart(const QString& path) {
    const qsizetype cut =
        std::max({path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'), path.lastIndexOf(u':')});
    return path.mid(cut + 1);
}

FileListBox::FileListBox(const QString& directory, const QString& mask, QWidget* parent)
    : QListWidget(parent), m_directory(directory), m_mask(mask) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemSelectionChanged, this, &FileListBox::selectionChanged);
    reread();
}

void FileListBox::setDirectory(const QString& directory) {
    if (directory == m_directory)
        return;
    m_directory = directory;
    reread();
}

void FileListBox::setMask(const QString& mask) {
    if (mask == m_mask)
        return;
    m_mask = mask;
    reread();
}

void FileListBox::setShowDotFiles(bool show) {
    if (show == m_showDotFiles)
        return;
    m_showDotFiles = show;
    reread();
}

void FileListBox::reread() {
    QDir dir(m_directory);
    dir.setFilter(m_showDotFiles ? QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden
                                 : QDir::Files | QDir::NoDotAndDotDot);
    dir.setNameFilters(maskPatterns(m_mask));
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    const QStringList names = dir.entryList();
    {
        const QSignalBlocker quiet(this);
        clear();
        addItems(names);
        // A name cut at the panel's edge is read whole from its tooltip.
        for (int row = 0; row < count(); ++row)
            item(row)->setToolTip(item(row)->text());
        setCurrentRow(-1);
        clearSelection();
    }
    emit selectionChanged();
}

void FileListBox::reread(const QString& mask) {
    m_mask = mask;
    reread();
}

QString FileListBox::selectedName() const {
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

QString FileListBox::selectedPath() const {
    const QString name = selectedName();
    return name.isEmpty() ? QString() : joinPath(m_directory, name);
}

bool FileListBox::selectName(const QString& name) {
    const QList<QListWidgetItem*> found =
        findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        return false;
    setCurrentItem(found.first());
    found.first()->setSelected(true);
    return true;
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_selectedAtPress = selectedName();
        m_doubleClicked = false;
        QListWidget::mousePressEvent(event);
        return;
    }
    // The right button picks the entry the pop-up menu acts on, quietly: a
    // selection change would preview or load it.
    if (event->button() == Qt::RightButton) {
        if (QListWidgetItem* item = itemAt(event->position().toPoint())) {
            const QSignalBlocker quiet(this);
            setCurrentItem(item);
            item->setSelected(true);
        }
    }
    event->accept();
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    // The base class treats a double click away from the pressed entry as a
    // new press, which clears this again.
    m_doubleClicked = true;
    QListWidget::mouseDoubleClickEvent(event);
}

void FileListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListWidget::mouseReleaseEvent(event);
    if (m_doubleClicked) {
        m_doubleClicked = false;
        return;
    }
    const QString name = selectedName();
    const QListWidgetItem* under = itemAt(event->position().toPoint());
    if (!name.isEmpty() && (name != m_selectedAtPress || (under && under->isSelected())))
        emit chosen();
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    const QString before = selectedName();
    QListWidget::keyPressEvent(event);
    const QString after = selectedName();
    if (!after.isEmpty() && after != before)
        emit chosen();
}

} // namespace talmo
