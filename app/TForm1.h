// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: a file browser on the left, a notebook of eight pages on
// the right. The pages (pages/) own their controls and handlers; the
// controllers (the working directory, the edited file, navigation, the
// compile loop) hold the state. The window builds them and connects them:
//   TForm1.cpp         start-up, the error report, closing
//   TForm1Layout.cpp   the pages and menus in their places
//   TForm1Wiring.cpp   what each page's and controller's signals lead to
// Every control carries its layout name as objectName, so tests find it
// with findChild.
#pragma once

#include "PageControls.h" // PageServices

#include <QMainWindow>
#include <QString>

#include <filesystem>
#include <functional>

class QTabWidget;

namespace talmo {
class CmdPage;
class CompileController;
class EditController;
class EditPage;
class FileListBox;
class FilePanel;
class GoPage;
class HeaderBar;
class HelpPage;
class ManPage;
class NavigationController;
class QsciEditor;
class RSearchPage;
class SeePage;
class SnipPage;
class WorkingDirectory;
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

    // The directory the window works in.
    QString workingDirectory() const;
    // Opens `name` of the working directory in the editor: a listed source
    // as a double click on it does (the click previews it), any other file
    // loaded the same way. False when it could not be loaded (logged).
    bool openFile(const QString& name);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void reportError(const QString& message);
    // What every page gets from the window: the log, the error report and
    // names inside the working directory.
    talmo::PageServices makePageServices();

    // The user's data folder: journals, recovery copies that fit nowhere
    // else, the safe copies of a write in place.
    static std::filesystem::path dataFolder();
    void buildLayout();
    void buildMenus();

    void wireBrowsing();
    void wireRecovery();
    void wireLaunch();
    void wirePages();

    // The handlers the window keeps: first show, the change of the working
    // directory, a click on a source (preview), a double click (load) and a
    // click on a general file.
    void FormShow();
    void dirChange();
    void qclistaClick();
    void qclistaDblClick();
    void listadoClick();
    void Button6Click();

    // Makes `path` the working directory (a file names its folder).
    void changeWorkingDirectory(const QString& path);
    // The directory list and the lists that show the working directory.
    void followWorkingDirectory(const QString& now);
    // Selects the source list's entry `name` (its click previews it) and
    // opens it as a double click does; false when the list has no such entry.
    bool openListedSource(const QString& name);
    // Switches the editor to `path` as a double click in the file list does.
    bool openInEditor(const QString& path);
    // What follows every load of the edited file: the function index, the
    // highlighting, the page caption, the typing colour and the marks of the
    // last compile's messages.
    void showLoadedText();
    void markMessageLines();
    void showPage(int index);
    // Offers the journals of unsaved work left in the working directory.
    void offerJournals();
    talmo::QsciEditor* editor() const;
    QString editedName() const;

    // The controllers (children of the window); the compile loop is deleted
    // before the controls it reports to.
    talmo::WorkingDirectory* m_workingDirectory = nullptr;
    talmo::EditController* m_edit = nullptr;
    talmo::NavigationController* m_navigation = nullptr;
    talmo::CompileController* m_compile = nullptr;

    // The file panel, the header bar and the pages (owned by the window
    // through Qt's parent chain).
    talmo::FilePanel* m_filePanel = nullptr;
    talmo::FileListBox* qclista = nullptr;
    talmo::FileListBox* listado = nullptr;
    talmo::HeaderBar* m_header = nullptr;
    QTabWidget* Manager = nullptr;
    talmo::ManPage* m_man = nullptr;
    talmo::EditPage* m_editPage = nullptr;
    talmo::SeePage* m_see = nullptr;
    talmo::RSearchPage* m_rsearch = nullptr;
    talmo::GoPage* m_go = nullptr;
    talmo::SnipPage* m_snip = nullptr;
    talmo::CmdPage* m_cmd = nullptr;
    talmo::HelpPage* m_help = nullptr;

    ErrorReporter m_errorReporter;
    // Made once; the launcher's handlers report through it too.
    talmo::PageServices m_services;
    QString m_startupDirectory; // the profiles list stays there
    bool m_shown = false;
};
