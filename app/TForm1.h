// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: a file browser on the left, a notebook of eight pages on
// the right. Every control carries its layout name as objectName, so tests
// find it with findChild. Handlers keep the names of the control and event
// they serve; each area of the window lives in a source file of its own:
//   TForm1.cpp          start-up, LogLine, error report, closing
//   TForm1Layout.cpp    building the controls
//   TForm1Browse.cpp    working directory, file lists, preview, switch
//   TForm1Commands.cpp  delete
//   TForm1Launch.cpp    batch-file launcher
// The pages Man, Edit, See, RSearch, Go, Snip, Cmd and Help, the header bar and the
// menus are classes of their own (pages/) that own their controls and
// handlers; TForm1Layout.cpp builds and connects them.
#pragma once

#include <QMainWindow>
#include <QString>

#include "Journal.h"
#include "MessageList.h"
#include "Text.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QFrame;

namespace talmo {
class RecoverBar;
class QsciEditor;
class FileListBox;
class ColourChooser;
class FunctionCombo;
class HeaderBar;
class ManPage;
class EditPage;
class SeePage;
class RSearchPage;
class GoPage;
class SnipPage;
class CmdPage;
class HelpPage;
class FileMenus;
class EditorMenu;
struct PageServices;
struct CompletionItem;
struct NameAt;
class WorkingDirectory;
class FilePanel;
class EditController;
class NavigationController;
class CompileController;
} // namespace talmo

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window on the process's current directory.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Where uncaught failures go (the toolkit's default error report). The
    // real program shows a message box; tests install a recorder.
    using ErrorReporter = std::function<void(const QString& message)>;
    void setErrorReporter(ErrorReporter reporter) { m_errorReporter = std::move(reporter); }
    void reportError(const QString& message);

    // ---- shared operations ----
    // Appends one line to the console log, dropping the oldest line first once
    // the log holds more than 800 lines.
    void LogLine(const QString& text);
    // Makes qclista and listado re-read the working directory; afterwards
    // listado shows all files and neither list has a selection.
    void RefreshFileLists();
    // Makes `path` the working directory (a file names its folder): the
    // directory list and the lists that follow it.
    void changeWorkingDirectory(const QString& path);
    QString workingDirectory() const;

    // ---- state shared by the handlers, read-only from outside ----
    QString manFile() const;
    QString lastSearch() const;
    QString reportSource() const;
    // The last load or autosave of the editor failed.
    bool editFailed() const;

    // ---- start-up, browsing, loading and saving ----
    void FormShow();
    void dirChange();
    void qclistaClick();
    void qclistaDblClick();
    // Selects the source list's entry `name` and opens it as a double click
    // does: whether it loaded; nullopt when the list has no such entry.
    std::optional<bool> openListedSource(const QString& name);
    void listadoClick();
    // The autosave of a switch (and of closing the window), logged. True when
    // the text is safe (written, kept in a copy, or nothing to write); else
    // `why` says what failed.
    bool autosaveCurrentFile(QString* why = nullptr);
    // What closing keeps: the autosave by its rules, and the journal of text
    // that could not be written (also when the system asks Talmo to stop).
    void keepUnsavedWork();
    // Switches the editor to `path` as a double click in the file list does:
    // autosave, load, function index, highlighting, caption, caret kept at its
    // offset, Edit page shown. False (logged) when the file cannot be loaded.
    bool openInEditor(const QString& path);
    // The same for a path as the system names it (a name that is no text in
    // the file-name encoding included).
    bool openInEditor(const std::filesystem::path& path);
    // The file loaded in the editor; empty when none.
    QString currentFile() const;
    // Follows an outside change of the edited file: an untouched editor shows
    // the new version; edited text is kept (the next autosave keeps both).
    void followEditedFile();

    void delete1Click();

    // ---- the Edit page ----
    void syntaxcolorClick();
    void BuildFunctionIndex();

    // ---- navigation ----
    // F12 and Ctrl+click: opens the file of the definition of the name at
    // `position` (the caret when negative) as a double click in the file list
    // does, and selects the name there; a body rather than its prototype.
    // Several left: listed under the editor, the first opened. Unknown: a log
    // line, nothing moves. False when it did not move.
    void gotoDefinitionClick();
    bool goToDefinitionAt(long position);
    // Shift+F12: every use of the name at the caret across the mod, listed
    // under the editor.
    void findUsagesClick();
    // Alt+Left / Alt+Right: back to where the last jump came from (file and
    // caret), and forward again.
    void navigateBackClick();
    void navigateForwardClick();
    // What resting the pointer at `position` shows: the definition's
    // "file:line" and line; empty for no known name.
    QString definitionTip(long position);
    // What completes the name being typed (the mod's definitions, builtins,
    // reserved words, console names); none while the index is built. And
    // the prototype line of a function for its call tip; empty when unknown.
    std::vector<talmo::CompletionItem> completionsOf(const talmo::NameAt& typed);
    std::string callTipOf(std::string_view function);
    // Keep the mod's definition index current: call after Talmo wrote `path`
    // or saw it change, and after the working directory changed.
    void fileWritten(const QString& path);
    void workingDirectoryChanged();
    // The index of the working directory is built and no build is running.
    bool definitionIndexReady() const;

    // ---- launcher ----
    void Button6Click();
    void WriteCompileBatch();

    // ---- compiler messages ----
    // Marks the lines of the edited file that the last compile has messages
    // for; to be called after every load into the editor.
    void markMessageLines();
    // Opens the message's file as a double click in the file list does and
    // selects its line; a missing file is logged and changes nothing.
    void openMessage(const talmo::ListedMessage& message,
                     const std::filesystem::path& absolutePath);
    void nextMessage();
    void previousMessage();

private:
    // The editor contract of the Edit page's view "talmo", and the list of
    // the last compile's messages under it.
    talmo::QsciEditor* editor() const;
    talmo::MessageList* messageList() const;
    void wireMessages();
    // The compile loop; deleted before the window's controls go.
    talmo::CompileController* m_compile = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    QWidget* buildLeftPanel();
    void buildMenus();
    // What every page gets from the window: the log and the error report.
    talmo::PageServices pageServices();
    void wirePages();

    // Each area connects its own controls.
    void wireBrowsing();
    void wireLaunch();

    // Runs a handler body whose failures no handler catches: they go to the
    // default error report and the window carries on.
    void runReportingErrors(const std::function<void()>& body);
    // Calls `handler` with each character typed into `box`, before the box
    // takes it (Enter arrives as 13).
    void onKeyPress(QWidget* box, std::function<void(char)> handler);
    // Brings a page of Manager to the front by index.
    void showPage(int index);
    // The directory list and the lists that show the working directory.
    void followWorkingDirectory(const QString& now);
    // The bare file name of a path.
    static QString fileNamePart(const QString& path);
    // Text typed for the file's 8-bit text, as bytes; nullopt (logged, so
    // the caller changes nothing) when a character has no byte.
    std::optional<std::string> fileText(const QString& text);
    // What follows every load of the edited file: the function index, the
    // highlighting, the page caption and the typing colour.
    void showLoadedText();
    // The user's data folder: journals, recovery copies that fit nowhere
    // else, the safe copies of a write in place.
    static std::filesystem::path dataFolder();
    // Unsaved work: the journal, the recover bar and what a switch may leave.
    void wireRecovery();
    void offerJournals();
    void recoverClick();
    void discardClick();
    // Runs a command line typed into the Edit page.
    void runCommand(const QString& command);
    // The pages (owned by the window through Qt's parent chain).
    talmo::HeaderBar* m_header = nullptr;
    talmo::ManPage* m_man = nullptr;
    talmo::EditPage* m_editPage = nullptr;
    talmo::SeePage* m_see = nullptr;
    talmo::RSearchPage* m_rsearch = nullptr;
    talmo::GoPage* m_go = nullptr;
    talmo::SnipPage* m_snip = nullptr;
    talmo::CmdPage* m_cmd = nullptr;
    talmo::HelpPage* m_help = nullptr;
    talmo::FileMenus* m_fileMenus = nullptr;
    talmo::EditorMenu* m_editorMenu = nullptr;

    // The file panel's tabs and lists, and the notebook of pages (owned by
    // the window through Qt's parent chain).
    QTabWidget* TabbedNotebook1 = nullptr;
    talmo::FileListBox* qclista = nullptr;
    talmo::FileListBox* listado = nullptr;
    QTabWidget* Manager = nullptr;

    // ---- navigation ----
    talmo::NavigationController* m_navigation = nullptr;
    void wireNavigation();

    // ---- state shared by the handlers ----
    // The edited file, its rules, its watch and its journal.
    talmo::EditController* m_edit = nullptr;

    ErrorReporter m_errorReporter;
    talmo::WorkingDirectory* m_workingDirectory = nullptr;
    talmo::FilePanel* m_filePanel = nullptr;
    QString m_startupDirectory; // the profiles list stays there
    bool m_shown = false;
};
