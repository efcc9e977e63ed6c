// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit page: the editor of the current file with its quick-find box and
// function index above it, the recover bar, the compiler's messages under it,
// and the bar of line indicator, go to line, HEAD line and command line. The
// page's own commands act on the editor here; what spans the window (help,
// reloading, the game, commands) is asked for by signal.
#pragma once

#include "PageControls.h"

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace talmo {

class FunctionCombo;
class MessageList;
class QsciEditor;
class QsciView;
class RecoverBar;

class EditPage : public QWidget {
    Q_OBJECT
public:
    // `editedName` gives the bare name of the file in the editor.
    EditPage(PageServices services, std::function<QString()> editedName, QWidget* parent = nullptr);

    // The editor contract over the page's view.
    QsciEditor& editor() const { return *m_editor; }
    QsciView* editorView() const { return m_view; }
    RecoverBar* recoverBar() const { return recoverbar; }
    // The list of the last compile's messages (its list control is "qccmessages").
    MessageList* messageList() const { return m_messages; }
    QString lastSearch() const { return LastSearch; }
    // Finds `text` in the editor as if typed into `com`.
    void findText(const QString& text);

    // ---- editor commands ----
    void codexKeyPress(char key);
    // Marks the page's caption as holding unsaved edits.
    void markEdited();
    void codexKeyDown(int key);
    void codexMouseDown();
    void codexMouseUp();
    void uptextKeyPress(char key);
    void numKeyPress(char key);
    void cut1Click();
    void copy1Click();
    void Paste1Click();
    void help1Click();
    void commanderKeyPress(char key);

    // ---- QuakeC analysis ----
    void syntaxcolorClick();
    void BuildFunctionIndex();
    void codeChange();
    void comClick();
    void comCloseUp();
    void comKeyPress(char key);
    void findeditKeyPress(char key);
    void next1Click();

signals:
    // Typing marks the page's caption as edited.
    void captionChanged(const QString& caption);
    // Help on `word` (empty: the help page as it is).
    void helpWanted(const std::string& word);
    void refreshClicked();
    void goClicked();

private:
    PageServices m_services;
    std::function<QString()> m_editedName;
    QString LastSearch;

    QLineEdit* findedit = nullptr;
    FunctionCombo* com = nullptr;
    RecoverBar* recoverbar = nullptr;
    QsciView* m_view = nullptr;
    QsciEditor* m_editor = nullptr;
    MessageList* m_messages = nullptr;
    QLabel* editbar = nullptr;
    QLineEdit* num = nullptr;
    QPushButton* syntaxcolor = nullptr;
    QPushButton* refresh = nullptr;
    QPushButton* Button7 = nullptr;
    QLineEdit* uptext = nullptr;
    QLineEdit* commander = nullptr;
};

} // namespace talmo
