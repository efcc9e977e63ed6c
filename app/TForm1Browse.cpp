// The working directory, the file lists, the preview, the switch of the
// edited file with its autosave, and the Man page's general file.
#include "TForm1.h"

#include "TextBytes.h"

#include "DirectoryList.h"
#include "FileListBox.h"
#include "QsciEditor.h"
#include "RecoveryFile.h"
#include "Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include <exception>

using talmo::FileListBox;

using talmo::localPath;

namespace {

const QString kSourceMask = QStringLiteral("*.qc;*.src;*.txt");

// The entry of `drive` that holds the working directory: the longest root
// that begins it.
int driveIndexOf(const QComboBox* drive, const QString& directory) {
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drive->count(); ++i) {
        const QString root = drive->itemData(i).toString();
        if (directory.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace

void TForm1::wireBrowsing() {
    connect(dir, &talmo::DirectoryList::enterRequested, this,
            [this](const QString& path) { changeWorkingDirectory(path); });
    connect(drive, &QComboBox::activated, this, [this] { driveChange(); });
    onKeyPress(pathsrc, [this](char key) { pathsrcKeyPress(key); });

    connect(qclista, &QListWidget::itemClicked, this, [this] { qclistaClick(); });
    connect(qclista, &FileListBox::selectionChanged, this, [this] { qclistaClick(); });
    connect(qclista, &QListWidget::itemDoubleClicked, this, [this] { qclistaDblClick(); });
    connect(refresh, &QPushButton::clicked, this, [this] { qclistaDblClick(); });
    // A click loads once; a selection moved by keys loads too.
    connect(listado, &FileListBox::chosen, this, [this] { listadoClick(); });
    connect(salvaman, &QPushButton::clicked, this, [this] { salvamanClick(); });
    connect(FilterComboBox1, &QComboBox::activated, this, [this] { FilterComboBox1Change(); });

    drive->setCurrentIndex(driveIndexOf(drive, workingDirectory()));
}

QString TForm1::workingDirectory() const {
    return dir->directory();
}

void TForm1::changeWorkingDirectory(const QString& path) {
    if (path.isEmpty() || path == workingDirectory())
        return;
    QString target = path;
    const QFileInfo info(QDir::current(), path);
    if (info.exists() && !info.isDir())
        target = info.absolutePath();
    // A directory that cannot be entered leaves everything as it was.
    QDir::setCurrent(target);
    const QString now = QDir::toNativeSeparators(QDir::currentPath());
    dir->setDirectory(now);
    qclista->setDirectory(now);
    dirChange();
}

void TForm1::dirChange() {
    listado->setDirectory(workingDirectory());
    xxtfilebox->setDirectory(workingDirectory());
    setWindowTitle(QStringLiteral(":: T A L M O :: - ") + workingDirectory());
}

void TForm1::driveChange() {
    const int chosen = drive->currentIndex();
    if (chosen < 0 || chosen == driveIndexOf(drive, workingDirectory()))
        return;
    changeWorkingDirectory(drive->itemData(chosen).toString());
}

void TForm1::pathsrcKeyPress(char key) {
    if (key == '\r' && !pathsrc->text().isEmpty())
        changeWorkingDirectory(pathsrc->text());
}

void TForm1::FilterComboBox1Change() {
    listado->setMask(FilterComboBox1->currentData().toString());
}

void TForm1::RefreshFileLists() {
    qclista->setMask(QStringLiteral("*.*"));
    qclista->setMask(kSourceMask);
    listado->setMask(kSourceMask);
    listado->setMask(QStringLiteral("*.*"));
}

void TForm1::qclistaClick() {
    const QString path = qclista->selectedPath();
    if (path.isEmpty())
        return;
    try {
        pathsrc->setText(talmo::directoryPart(path));
        // A click on another entry previews it twice in a row (click, then
        // selection change): read a file only once while it is unchanged.
        const QFileInfo info(path);
        const PreviewStamp stamp{path, info.lastModified(), info.size()};
        if (!(stamp == m_previewStamp) || !info.isReadable()) {
            m_previewStamp = PreviewStamp{};
            veer->loadFromFile(localPath(path));
            m_previewStamp = stamp;
        }
        veer->setBorder(path == CurrentFile);
        showPage(2);
        Manager->setTabText(2, QStringLiteral("&See ") + fileNamePart(path));
        LoadFailed = false;
    } catch (const std::exception&) {
        LogLine(QStringLiteral("Open fail!!: "));
        LoadFailed = true;
    }
}

void TForm1::autosaveCurrentFile() {
    if (CurrentFile.isEmpty())
        return;
    if (talmo->length() == 0 || LoadFailed)
        return;
    const std::string text = talmo->text();
    try {
        talmo::writeFileBytes(localPath(CurrentFile),
                              m_currentFileLf ? talmo::crlfToLf(text) : text);
        talmo->setSelectionStart(SavedCaret);
        LogLine(QStringLiteral(":: Autosaved: ") + CurrentFile);
        LoadFailed = false;
    } catch (const std::exception&) {
        LogLine(QStringLiteral("Autosaved fail!!: "));
        LoadFailed = true;
        // The switch goes on and loads over this text: keep a copy first.
        const QString copy = talmo::writeRecoveryFile(CurrentFile, text);
        if (!copy.isEmpty())
            LogLine(QStringLiteral(":: Unsaved text kept in: ") + copy);
    }
}

void TForm1::qclistaDblClick() {
    openInEditor(qclista->selectedPath());
}

bool TForm1::openInEditor(const QString& path) {
    SavedCaret = talmo->selectionStart();
    showPage(2);
    if (autosave->isChecked())
        autosaveCurrentFile();

    bool loaded = false;
    try {
        if (path.isEmpty())
            throw talmo::FileError("No file is selected");
        const std::string bytes = talmo::readFileBytes(localPath(path));
        talmo->setText(bytes);
        m_currentFileLf = talmo::usesLfLineBreaks(bytes);
        BuildFunctionIndex();
        syntaxcolorClick();
        LoadFailed = false;
        CurrentFile = path;
        Manager->setTabText(1, QStringLiteral("&Edit ") + fileNamePart(CurrentFile));
        talmo->setDefaultColour(talmo::kBlack);
        loaded = true;
    } catch (const std::exception&) {
        LogLine(QStringLiteral("Load fail!!: "));
        LoadFailed = true;
        CurrentFile.clear();
    }
    talmo->setSelectionStart(SavedCaret);
    showPage(1);
    return loaded;
}

void TForm1::listadoClick() {
    showPage(0);
    const QString path = listado->selectedPath();
    if (path.isEmpty())
        return;
    try {
        const std::string bytes = talmo::readFileBytes(localPath(path));
        // The memo ends the text at the file's first NUL byte.
        test->setPlainText(talmo::memoText(std::string_view(bytes).substr(0, bytes.find('\0'))));
        m_manFileLf = talmo::usesLfLineBreaks(bytes);
        ManFile = path;
        LoadFailed = false;
    } catch (const std::exception&) {
        LogLine(QStringLiteral("Load fail!!: "));
        LoadFailed = true;
    }
}

void TForm1::salvamanClick() {
    if (ManFile.isEmpty())
        return;
    try {
        talmo::writeFileBytes(localPath(ManFile),
                              talmo::memoBytes(test->toPlainText(), m_manFileLf));
    } catch (const std::exception&) {
        LogLine(QStringLiteral("Save fail!!: "));
    }
}
