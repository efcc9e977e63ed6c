// SPDX-License-Identifier: GPL-3.0-or-later
// The working directory, the file lists, the preview, the switch of the
// edited file with its autosave, and the Man page's general file.
#include "TForm1.h"

#include "TextBytes.h"

#include "DirectoryList.h"
#include "EditController.h"
#include "EditPage.h"
#include "EditSession.h"
#include "FileListBox.h"
#include "GoPage.h"
#include "FilePanel.h"
#include "QsciEditor.h"
#include "SeePage.h"
#include "SnipPage.h"
#include "QsciView.h"
#include "Text.h"
#include "WorkingDirectory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>

#include <exception>

using talmo::FileListBox;

using talmo::localPath;

namespace {

// The entry of `drive` that holds the working directory: the longest root
// that begins it. Roots ("C:/") and directories ("C:\mod") are compared in
// one form, whole names only, without case where the file system has none.
int driveIndexOf(const QComboBox* drive, const QString& directory) {
#ifdef _WIN32
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    const auto form = [](const QString& path) {
        QString p = QDir::fromNativeSeparators(QDir::cleanPath(path));
        if (!p.endsWith(u'/'))
            p += u'/';
        return p;
    };
    const QString here = form(directory);
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drive->count(); ++i) {
        const QString root = form(drive->itemData(i).toString());
        if (here.startsWith(root, kCase) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace

void TForm1::wireBrowsing() {
    m_edit = new talmo::EditController(*editor(), dataFolder(), this);
    m_edit->setAutosaveEnabled(autosave->isChecked());
    connect(autosave, &QCheckBox::toggled, m_edit, &talmo::EditController::setAutosaveEnabled);
    connect(m_edit, &talmo::EditController::log, this, &TForm1::LogLine);
    for (auto loaded : {&talmo::EditController::loaded, &talmo::EditController::reloaded})
        connect(m_edit, loaded, this, [this] {
            showLoadedText();
            markMessageLines();
        });
    connect(m_workingDirectory, &talmo::WorkingDirectory::changed, this,
            [this](const QString& now) { followWorkingDirectory(now); });
    connect(dir, &talmo::DirectoryList::enterRequested, this,
            [this](const QString& path) { changeWorkingDirectory(path); });
    connect(drive, &QComboBox::activated, this, [this] { driveChange(); });

    connect(m_filePanel, &talmo::FilePanel::sourceSelected, this, [this] { qclistaClick(); });
    connect(m_filePanel, &talmo::FilePanel::sourceChosen, this, [this] { qclistaDblClick(); });
    connect(m_editPage, &talmo::EditPage::refreshClicked, this, [this] { qclistaDblClick(); });
    connect(m_filePanel, &talmo::FilePanel::fileChosen, this, [this] { listadoClick(); });
    connect(salvaman, &QPushButton::clicked, this, [this] { salvamanClick(); });
    connect(FilterComboBox1, &QComboBox::activated, this, [this] { FilterComboBox1Change(); });

    drive->setCurrentIndex(driveIndexOf(drive, workingDirectory()));
}

QString TForm1::workingDirectory() const {
    return m_workingDirectory->path();
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
    dir->setDirectory(now);
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

void TForm1::driveChange() {
    const int chosen = drive->currentIndex();
    if (chosen < 0 || chosen == driveIndexOf(drive, workingDirectory()))
        return;
    changeWorkingDirectory(drive->itemData(chosen).toString());
}

void TForm1::FilterComboBox1Change() {
    listado->setMask(FilterComboBox1->currentData().toString());
}

void TForm1::RefreshFileLists() {
    m_filePanel->RefreshFileLists();
}

void TForm1::qclistaClick() {
    const QString path = qclista->selectedPath();
    if (path.isEmpty())
        return;
    try {
        m_go->setSourcePath(talmo::directoryPart(path));
        m_see->preview(path, path == currentFile());
        showPage(2);
        Manager->setTabText(2, QStringLiteral("&See ") + fileNamePart(path));
    } catch (const std::exception&) {
        // Only logged: a failed preview never blocks the editor's autosave.
        LogLine(QStringLiteral("Open fail!!: "));
    }
}

QString TForm1::currentFile() const {
    return m_edit->currentFile();
}

bool TForm1::editFailed() const {
    return m_edit->failed();
}

bool TForm1::autosaveCurrentFile(QString* why) {
    return m_edit->autosave(why);
}

void TForm1::qclistaDblClick() {
    openInEditor(qclista->selectedPath());
}

bool TForm1::openInEditor(const QString& path) {
    return openInEditor(localPath(path));
}

bool TForm1::openInEditor(const std::filesystem::path& path) {
    showPage(2);
    const bool opened = m_edit->open(path);
    showPage(1);
    return opened;
}

void TForm1::showLoadedText() {
    BuildFunctionIndex();
    syntaxcolorClick();
    Manager->setTabText(1, QStringLiteral("&Edit ") + fileNamePart(currentFile()));
    editor()->setDefaultColour(talmo::kBlack);
}

void TForm1::followEditedFile() {
    m_edit->followDisk();
}

void TForm1::listadoClick() {
    showPage(0);
    const QString path = listado->selectedPath();
    if (path.isEmpty())
        return;
    try {
        const std::string bytes = talmo::readFileBytes(localPath(path));
        // The memo ends the text at the file's first NUL byte; such a file
        // is shown but never saved from the page.
        const std::size_t nul = bytes.find('\0');
        const QString shown = talmo::memoText(std::string_view(bytes).substr(0, nul));
        test->setPlainText(shown);
        m_manShown = talmo::memoContents(test);
        m_manWhole = nul == std::string::npos;
        m_manBreaks = talmo::lineBreakStyleOf(bytes).kind;
        m_manStamp = talmo::stampOf(bytes);
        ManFile = path;
    } catch (const std::exception&) {
        LogLine(QStringLiteral("Load fail!!: "));
    }
}

void TForm1::salvamanClick() {
    if (ManFile.isEmpty())
        return;
    const QString text = talmo::memoContents(test);
    // Unchanged text is what the file already holds: nothing to write.
    if (text == m_manShown)
        return;
    if (!m_manWhole) {
        LogLine(QStringLiteral("Save fail!!: ") + ManFile +
                QStringLiteral(" holds a NUL byte; the page shows it only up to there, "
                               "so it is not saved from here"));
        return;
    }
    const std::optional<std::string> bytes = fileText(text);
    if (!bytes)
        return;
    const std::string out = talmo::withLineBreaks(*bytes, m_manBreaks);
    const std::filesystem::path file = localPath(ManFile);
    try {
        // A file another program changed since the page showed it is kept;
        // the page's text goes beside it.
        if (!talmo::writeUnlessChanged(file, m_manStamp, out, dataFolder() / "safe copies")) {
            const std::filesystem::path kept = talmo::writeRecoveryCopy(file, out, dataFolder());
            LogLine(kept.empty() ? QStringLiteral(":: Changed on disk: ") + ManFile +
                                       QStringLiteral("; your text could not be kept anywhere!")
                                 : QStringLiteral(":: Changed on disk, your text kept in: ") +
                                       talmo::pathText(kept));
            return;
        }
        m_manStamp = talmo::stampOf(out);
        m_manShown = text;
        fileWritten(ManFile);
    } catch (const std::exception& e) {
        LogLine(QStringLiteral("Save fail!!: "));
        LogLine(QStringLiteral(":: ") + QString::fromLocal8Bit(e.what()));
    }
}
