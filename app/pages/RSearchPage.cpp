// SPDX-License-Identifier: GPL-3.0-or-later
#include "RSearchPage.h"

#include "ColourChooser.h"
#include "EventHook.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "Report.h"
#include "ReportReader.h"
#include "SearchReplace.h"
#include "Text.h"
#include "TextBytes.h"
#include "TextCodec.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace talmo {

namespace {

// A report entry keeps its exact bytes (a file name, then 8-bit text) beside
// the text the list shows.
constexpr int kEntryBytes = Qt::UserRole;

std::string bytesOf(const QListWidgetItem* item) {
    const QByteArray bytes = item->data(kEntryBytes).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

RSearchPage::RSearchPage(PageServices services, QsciEditor& editor, SourceFiles files,
                         QWidget* parent)
    : QWidget(parent), m_services(std::move(services)), m_editor(editor),
      m_files(std::move(files)) {
    auto* layout = new QVBoxLayout(this);

    Colorize = named(new QGroupBox(QStringLiteral("Colorize && Replace")), "Colorize");
    auto* grid = new QGridLayout(Colorize);
    searchfor = lineEdit("searchfor");
    ColorBox = named(new ColourChooser, "ColorBox");
    Button3 = button("Button3", QStringLiteral("Colorize Search"));
    replaceby = lineEdit("replaceby");
    Button4 = button("Button4", QStringLiteral("Search && Replace"));
    grid->addWidget(label(QStringLiteral("Search for "), searchfor), 0, 0);
    grid->addWidget(searchfor, 0, 1);
    grid->addWidget(label(QStringLiteral("and colorize"), ColorBox), 0, 2);
    grid->addWidget(ColorBox, 0, 3);
    grid->addWidget(Button3, 0, 4);
    grid->addWidget(label(QStringLiteral("and replace by"), replaceby), 1, 0);
    grid->addWidget(replaceby, 1, 1, 1, 3);
    grid->addWidget(Button4, 1, 4);
    grid->setColumnStretch(1, 1);
    layout->addWidget(Colorize);

    GroupBox1 = named(new QGroupBox(QStringLiteral("Report-Gun")), "GroupBox1");
    auto* reports = new QVBoxLayout(GroupBox1);
    reportlist = named(new QListWidget, "reportlist");
    reportlist->setFont(courierFont());
    reports->addWidget(reportlist, 1);
    auto* buttons = new QHBoxLayout;
    generatereport = button("generatereport", QStringLiteral("funcs()"));
    atribgen = button("atribgen", QStringLiteral(".atributes"));
    EditReport = button("EditReport", QStringLiteral("Edit Report"));
    buttons->addWidget(generatereport);
    buttons->addWidget(atribgen);
    buttons->addStretch(1);
    buttons->addWidget(EditReport);
    reports->addLayout(buttons);
    layout->addWidget(GroupBox1, 1);

    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    reportlist->setUniformItemSizes(true);
    connect(generatereport, &QPushButton::clicked, this, [this] { generatereportClick(); });
    connect(atribgen, &QPushButton::clicked, this, [this] { atribgenClick(); });
    connect(EditReport, &QPushButton::clicked, this, [this] { EditReportClick(); });
    // Every left double click, on an entry or not: one that meets no selected
    // entry is reported as such.
    EventHook::install(reportlist->viewport(), QEvent::MouseButtonDblClick, [this](QEvent* event) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            reportlistDblClick();
    });
}

void RSearchPage::Button3Click() {
    const auto what = m_services.fileText(searchfor->text());
    if (!what)
        return;
    m_editor.view()->setVisible(false);
    const ColorizeResult marks = computeColorize(m_editor.text(), *what);
    applyColorize(m_editor, marks, ColorBox->selectedColour());
    if (marks.found())
        emit editorWanted();
    m_editor.view()->setVisible(true);
}

void RSearchPage::Button4Click() {
    const auto what = m_services.fileText(searchfor->text());
    const auto by = what ? m_services.fileText(replaceby->text()) : std::nullopt;
    if (!by)
        return;
    m_editor.view()->setVisible(false);
    ReplaceResult edits = computeReplace(m_editor.text(), *what, *by);
    const bool found = edits.found();
    applyReplace(m_editor, std::move(edits));
    if (found)
        emit editorWanted();
    m_editor.view()->setVisible(true);
}

// The report run shared by both buttons: every listed file but the report
// file itself goes through `scan`; a file that cannot be read stops the run
// with an error report, keeping the entries found so far.
void RSearchPage::runReport(LineScan scan) {
    m_services.log(QStringLiteral("GENERATING REPORT"));
    ReportReader reader;
    QList<QListWidgetItem*> found; // added to the list in one go
    for (const QString& name : m_files.names()) {
        const std::string source = nameBytes(name);
        if (skippedByReportRun(source))
            continue;
        ReportSource = name;
        std::vector<std::string> entries;
        QString failure;
        try {
            scan(reader, m_services.pathInDirectory(name), source, entries);
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
        for (const std::string& e : entries) {
            const std::string_view definition = std::string_view(e).substr(source.size() + 3);
            auto* item =
                new QListWidgetItem(name + QStringLiteral(" - ") + textOfBytes(definition));
            item->setData(kEntryBytes, QByteArray(e.data(), static_cast<qsizetype>(e.size())));
            found << item;
        }
        if (!failure.isEmpty()) {
            for (QListWidgetItem* item : found)
                reportlist->addItem(item);
            m_services.reportError(failure);
            return;
        }
    }
    for (QListWidgetItem* item : found)
        reportlist->addItem(item);
}

void RSearchPage::generatereportClick() {
    runReport(&scanFileForFunctions);
}

void RSearchPage::atribgenClick() {
    runReport(&scanFileForAttributes);
}

void RSearchPage::EditReportClick() {
    m_services.runReportingErrors([this] {
        std::vector<std::string> entries;
        entries.reserve(static_cast<std::size_t>(reportlist->count()));
        for (int i = 0; i < reportlist->count(); ++i)
            entries.push_back(bytesOf(reportlist->item(i)));
        writeGeneratedFileBytes(m_services.pathInDirectory(QString::fromLatin1(
                                    kReportFileName.data(), qsizetype(kReportFileName.size()))),
                                joinCrLf(reportFileLines(entries)));
        emit fileListsStale();
        const QString name = QString::fromLatin1(kReportFileName.data(),
                                                 static_cast<qsizetype>(kReportFileName.size()));
        if (!m_files.open(name))
            throw FileError("Cannot select \"" + std::string(kReportFileName) +
                            "\" in the file list");
    });
}

void RSearchPage::reportlistDblClick() {
    m_services.runReportingErrors([this] {
        const QList<QListWidgetItem*> selected = reportlist->selectedItems();
        if (selected.isEmpty())
            throw FileError("No report entry is selected");
        const ReportEntryParts parts = splitReportEntry(bytesOf(selected.first()));
        const QString file = nameText(parts.file);
        if (!m_files.open(file))
            throw FileError("Cannot select \"" + parts.file + "\": no such file in " +
                            nameBytes(m_files.directory()));
        emit sourceListStale();
        const QString definition = textOfBytes(parts.definition);
        m_services.log(QStringLiteral("Jumping to ") + definition);
        emit findInEditor(definition);
    });
}

} // namespace talmo
