// SPDX-License-Identifier: GPL-3.0-or-later
// Definition reports: "funcs()" and ".atributes" over every source file of
// the working directory, the report file, and the jump to an entry.
#include "TForm1.h"

#include "EventHook.h"
#include "FileListBox.h"
#include "FunctionCombo.h"
#include "Report.h"
#include "ReportReader.h"
#include "Text.h"
#include "TextBytes.h"
#include "TextCodec.h"
#include "WorkingDirectory.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace {

// A report entry keeps its exact bytes (a file name, then 8-bit text) beside
// the text the list shows.
constexpr int kEntryBytes = Qt::UserRole;

std::string bytesOf(const QListWidgetItem* item) {
    const QByteArray bytes = item->data(kEntryBytes).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

void TForm1::wireReports() {
    reportlist->setUniformItemSizes(true);
    connect(generatereport, &QPushButton::clicked, this, [this] { generatereportClick(); });
    connect(atribgen, &QPushButton::clicked, this, [this] { atribgenClick(); });
    connect(EditReport, &QPushButton::clicked, this, [this] { EditReportClick(); });
    // Every left double click, on an entry or not: one that meets no selected
    // entry is reported as such.
    talmo::EventHook::install(reportlist->viewport(), QEvent::MouseButtonDblClick,
                              [this](QEvent* event) {
                                  if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                                      reportlistDblClick();
                              });
}

// The report run shared by both buttons: every listed file but the report
// file itself goes through `scan`; a file that cannot be read stops the run
// with an error report, keeping the entries found so far.
void TForm1::runReport(LineScan scan) {
    LogLine(QStringLiteral("GENERATING REPORT"));
    talmo::ReportReader reader;
    QList<QListWidgetItem*> found; // added to the list in one go
    const int count = qclista->count();
    for (int i = 0; i < count; ++i) {
        const QString name = qclista->item(i)->text();
        const std::string source = talmo::nameBytes(name);
        if (talmo::skippedByReportRun(source))
            continue;
        ReportSource = name;
        std::vector<std::string> entries;
        QString failure;
        try {
            scan(reader, m_workingDirectory->filePath(name), source, entries);
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
        for (const std::string& e : entries) {
            const std::string_view definition = std::string_view(e).substr(source.size() + 3);
            auto* item =
                new QListWidgetItem(name + QStringLiteral(" - ") + talmo::textOfBytes(definition));
            item->setData(kEntryBytes, QByteArray(e.data(), static_cast<qsizetype>(e.size())));
            found << item;
        }
        if (!failure.isEmpty()) {
            for (QListWidgetItem* item : found)
                reportlist->addItem(item);
            reportError(failure);
            return;
        }
    }
    for (QListWidgetItem* item : found)
        reportlist->addItem(item);
}

void TForm1::generatereportClick() {
    runReport(&talmo::scanFileForFunctions);
}

void TForm1::atribgenClick() {
    runReport(&talmo::scanFileForAttributes);
}

void TForm1::EditReportClick() {
    runReportingErrors([this] {
        std::vector<std::string> entries;
        entries.reserve(static_cast<std::size_t>(reportlist->count()));
        for (int i = 0; i < reportlist->count(); ++i)
            entries.push_back(bytesOf(reportlist->item(i)));
        talmo::writeGeneratedFileBytes(m_workingDirectory->filePath(std::filesystem::path(
                                           std::string(talmo::kReportFileName))),
                                       talmo::joinCrLf(talmo::reportFileLines(entries)));
        RefreshFileLists();
        const QString name = QString::fromLatin1(
            talmo::kReportFileName.data(), static_cast<qsizetype>(talmo::kReportFileName.size()));
        if (!qclista->selectName(name))
            throw talmo::FileError("Cannot select \"" + std::string(talmo::kReportFileName) +
                                   "\" in the file list");
        qclistaDblClick();
    });
}

void TForm1::reportlistDblClick() {
    runReportingErrors([this] {
        const QList<QListWidgetItem*> selected = reportlist->selectedItems();
        if (selected.isEmpty())
            throw talmo::FileError("No report entry is selected");
        const talmo::ReportEntryParts parts = talmo::splitReportEntry(bytesOf(selected.first()));
        const QString file = talmo::nameText(parts.file);
        if (!qclista->selectName(file))
            throw talmo::FileError("Cannot select \"" + parts.file + "\": no such file in " +
                                   talmo::nameBytes(workingDirectory()));
        qclistaDblClick();
        qclista->reread();
        const QString definition = talmo::textOfBytes(parts.definition);
        LogLine(QStringLiteral("Jumping to ") + definition);
        com->setEditText(definition);
        comClick();
    });
}
