#include "FileListBox.h"

#include <QDir>

namespace talmo {

namespace {

#ifdef Q_OS_WIN
constexpr QChar kSeparator = u'\\';
#else
constexpr QChar kSeparator = u'/';
#endif

} // namespace

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
    QDir::setCurrent(m_directory);
    QDir dir(m_directory);
    dir.setFilter(m_showDotFiles ? QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden
                                 : QDir::Files | QDir::NoDotAndDotDot);
    dir.setNameFilters(m_mask.split(u';', Qt::SkipEmptyParts));
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    const QStringList names = dir.entryList();
    {
        const QSignalBlocker quiet(this);
        clear();
        addItems(names);
        setCurrentRow(-1);
        clearSelection();
    }
    emit selectionChanged();
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

} // namespace talmo
