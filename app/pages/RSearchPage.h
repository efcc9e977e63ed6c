// SPDX-License-Identifier: GPL-3.0-or-later
// The RSearch page: Colorize & Replace over the edited text, and the
// Report-Gun, which lists the definitions ("funcs()", ".atributes") of every
// source file of the working directory, writes them into the report file and
// jumps to an entry.
#pragma once

#include "PageControls.h"

#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace talmo {

class ColourChooser;
class QsciEditor;
class ReportReader;

class RSearchPage : public QWidget {
    Q_OBJECT
public:
    // What the page needs of the source-file list.
    struct SourceFiles {
        // The names the list shows, in its order.
        std::function<QStringList()> names;
        // Selects `name` in the list and opens it as a double click does;
        // false when the list has no such name.
        std::function<bool(const QString& name)> open;
        // The directory the list shows, for messages.
        std::function<QString()> directory;
    };

    // Colorize and Replace act on `editor`, the text of the Edit page; its
    // view is hidden while they work, so that it repaints once.
    RSearchPage(PageServices services, QsciEditor& editor, SourceFiles files,
                QWidget* parent = nullptr);

    // The source file the last report run read (or was reading when it stopped).
    QString reportSource() const { return ReportSource; }

    void Button3Click();
    void Button4Click();
    void generatereportClick();
    void atribgenClick();
    void EditReportClick();
    void reportlistDblClick();

signals:
    // The search found something: the Edit page should show it.
    void editorWanted();
    // The file lists should read the directory again (a file was written).
    void fileListsStale();
    // The source list should read its directory again.
    void sourceListStale();
    // Find `text` in the edited file, as the function box does.
    void findInEditor(const QString& text);

private:
    using LineScan = void (*)(ReportReader&, const std::filesystem::path&, std::string_view,
                              std::vector<std::string>&);
    void runReport(LineScan scan);

    PageServices m_services;
    QsciEditor& m_editor;
    SourceFiles m_files;
    QString ReportSource;

    QGroupBox* Colorize = nullptr;
    QLineEdit* searchfor = nullptr;
    ColourChooser* ColorBox = nullptr;
    QPushButton* Button3 = nullptr;
    QLineEdit* replaceby = nullptr;
    QPushButton* Button4 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QListWidget* reportlist = nullptr;
    QPushButton* generatereport = nullptr;
    QPushButton* atribgen = nullptr;
    QPushButton* EditReport = nullptr;
};

} // namespace talmo
