// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManPage.h"

#include "DirectoryList.h"
#include "EditSession.h"
#include "FileWrite.h"
#include "Text.h"
#include "TextBytes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <exception>
#include <string>
#include <vector>

namespace talmo {

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

ManPage::ManPage(PageServices services, const QString& directory, std::filesystem::path dataFolder,
                 std::function<QString()> workingDirectory, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)), m_dataFolder(std::move(dataFolder)),
      m_workingDirectory(std::move(workingDirectory)) {
    auto* layout = new QVBoxLayout(this);

    auto* top = new QSplitter(Qt::Horizontal);
    dir = named(new DirectoryList(directory), "dir");
    dir->setToolTip(QStringLiteral("Select the dir you want to work, here."));
    test = memo("test", QStringLiteral("Another edit window for general files."));
    test->setFont(systemFont());
    test->setLineWrapMode(QPlainTextEdit::NoWrap);
    top->addWidget(dir);
    top->addWidget(test);
    top->setStretchFactor(0, 1);
    top->setStretchFactor(1, 2);
    layout->addWidget(top, 1);

    auto* bar = new QGridLayout;
    FilterComboBox1 = named(new QComboBox, "FilterComboBox1");
    FilterComboBox1->addItem(QStringLiteral("All files (*.*)"), QStringLiteral("*.*"));
    FilterComboBox1->addItem(QStringLiteral("Proyect SRC."), QStringLiteral("progs.src"));
    FilterComboBox1->addItem(QStringLiteral("Text files."), QStringLiteral("*.txt"));
    FilterComboBox1->addItem(QStringLiteral("Web Docs."), QStringLiteral("*.htm*"));
    drive = named(new QComboBox, "drive");
    for (QComboBox* box : {FilterComboBox1, drive}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(7);
    }
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            drive->addItem(QDir::toNativeSeparators(volume.rootPath()), volume.rootPath());
    }
    newqc = lineEdit("newqc");
    newqc->setPlaceholderText(QStringLiteral("new .qc name"));
    create_new = button("create_new", QStringLiteral("Create New"));
    create_new->setEnabled(false);
    salvaman = button("salvaman", QStringLiteral("Save 'Man'"),
                      QStringLiteral("Save the right panel as the \"all\" selected file."));
    autosave = named(new QCheckBox(QStringLiteral("autosave edit")), "auto");
    autosave->setChecked(true);
    autosave->setToolTip(QStringLiteral("The main swich. Not touch!"));
    // Two rows: what to list on top, what to do with files below.
    bar->addWidget(FilterComboBox1, 0, 0);
    bar->addWidget(drive, 0, 1);
    bar->addWidget(autosave, 0, 2, Qt::AlignRight);
    bar->addWidget(newqc, 1, 0);
    bar->addWidget(create_new, 1, 1, Qt::AlignLeft);
    bar->addWidget(salvaman, 1, 2, Qt::AlignRight);
    bar->setColumnStretch(0, 1);
    bar->setColumnStretch(1, 1);
    layout->addLayout(bar);

    connect(autosave, &QCheckBox::toggled, this, &ManPage::autosaveToggled);
    connect(dir, &DirectoryList::enterRequested, this, &ManPage::directoryEntered);
    connect(drive, &QComboBox::activated, this, [this] { driveChange(); });
    connect(salvaman, &QPushButton::clicked, this, [this] { salvamanClick(); });
    connect(FilterComboBox1, &QComboBox::activated, this, [this] { FilterComboBox1Change(); });
    connect(newqc, &QLineEdit::textChanged, this, [this] { newqcChange(); });
    connect(create_new, &QPushButton::clicked, this, [this] { create_newClick(); });

    drive->setCurrentIndex(driveIndexOf(drive, m_workingDirectory()));
}

void ManPage::setDirectory(const QString& directory) {
    dir->setDirectory(directory);
}

bool ManPage::autosaveEnabled() const {
    return autosave->isChecked();
}

void ManPage::setAutosaveEnabled(bool on) {
    autosave->setChecked(on);
}

void ManPage::driveChange() {
    const int chosen = drive->currentIndex();
    if (chosen < 0 || chosen == driveIndexOf(drive, m_workingDirectory()))
        return;
    emit directoryEntered(drive->itemData(chosen).toString());
}

void ManPage::FilterComboBox1Change() {
    emit maskChosen(FilterComboBox1->currentData().toString());
}

void ManPage::listadoClick(const QString& path) {
    if (path.isEmpty())
        return;
    try {
        const std::string bytes = readFileBytes(localPath(path));
        // The memo ends the text at the file's first NUL byte; such a file
        // is shown but never saved from the page.
        const std::size_t nul = bytes.find('\0');
        const QString shown = memoText(std::string_view(bytes).substr(0, nul));
        test->setPlainText(shown);
        m_manShown = memoContents(test);
        m_manWhole = nul == std::string::npos;
        m_manBreaks = lineBreakStyleOf(bytes).kind;
        m_manStamp = stampOf(bytes);
        ManFile = path;
    } catch (const std::exception&) {
        m_services.log(QStringLiteral("Load fail!!: "));
    }
}

void ManPage::salvamanClick() {
    if (ManFile.isEmpty())
        return;
    const QString text = memoContents(test);
    // Unchanged text is what the file already holds: nothing to write.
    if (text == m_manShown)
        return;
    if (!m_manWhole) {
        m_services.log(QStringLiteral("Save fail!!: ") + ManFile +
                       QStringLiteral(" holds a NUL byte; the page shows it only up to there, "
                                      "so it is not saved from here"));
        return;
    }
    const std::optional<std::string> bytes = m_services.fileText(text);
    if (!bytes)
        return;
    const std::string out = withLineBreaks(*bytes, m_manBreaks);
    const std::filesystem::path file = localPath(ManFile);
    try {
        // A file another program changed since the page showed it is kept;
        // the page's text goes beside it.
        if (!writeUnlessChanged(file, m_manStamp, out, m_dataFolder / "safe copies")) {
            const std::filesystem::path kept = writeRecoveryCopy(file, out, m_dataFolder);
            m_services.log(kept.empty()
                               ? QStringLiteral(":: Changed on disk: ") + ManFile +
                                     QStringLiteral("; your text could not be kept anywhere!")
                               : QStringLiteral(":: Changed on disk, your text kept in: ") +
                                     pathText(kept));
            return;
        }
        m_manStamp = stampOf(out);
        m_manShown = text;
        emit fileWritten(ManFile);
    } catch (const std::exception& e) {
        m_services.log(QStringLiteral("Save fail!!: "));
        m_services.log(QStringLiteral(":: ") + QString::fromLocal8Bit(e.what()));
    }
}

void ManPage::newqcChange() {
    create_new->setEnabled(!newqc->text().isEmpty());
}

void ManPage::create_newClick() {
    QString name = newqc->text();
    if (!name.contains(QStringLiteral(".qc")))
        name += QStringLiteral(".qc");
    const std::string written = nameBytes(name);
    const std::vector<std::string> header = {"/////////////////////", "//  ", "//  " + written,
                                             "//  ", "/////////////////////"};
    try {
        writeFileBytes(m_services.pathInDirectory(name), joinCrLf(header));
    } catch (const std::exception& e) {
        m_services.reportError(QString::fromUtf8(e.what()));
        return;
    }
    newqc->clear();
    emit fileCreated();
}

} // namespace talmo
