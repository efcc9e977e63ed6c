// SPDX-License-Identifier: GPL-3.0-or-later
// Shared scaffolding of the window tests: a scratch mod directory made
// current, a shown TForm1 whose error reports are recorded, and helpers that
// act as a user would (clicks, double clicks, keys) on controls found by name.
#pragma once

#include "TForm1.h"

#include <QDir>
#include <QListWidget>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace talmo {
class QsciEditor;
class QsciView;
} // namespace talmo

namespace talmo::testing {

// A control of the window by its objectName; fails the test when missing.
// Tests reach the window's controls only this way, never through members.
template <typename T> T* control(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}
// The one part of the window of that type: a page (ManPage, EditPage, ...,
// FilePanel) or a controller (WorkingDirectory, EditController, ...); fails
// the test when there is none or more than one.
template <typename T> T* part(const QObject& window) {
    const QList<T*> found = window.findChildren<T*>();
    if (found.size() != 1)
        qFatal("%d parts of type %s", static_cast<int>(found.size()),
               T::staticMetaObject.className());
    return found.first();
}
// The file loaded in the editor; empty when none.
QString currentFile(const QObject& window);
// Opens a file that no list shows, as F12 or a message does; whether it
// loaded.
bool openFile(const QObject& window, const QString& path);
// The editor of that name: "talmo" on the Edit page, "veer" on the See page.
talmo::QsciEditor* editor(const QObject& window, const char* name = "talmo");
// Its widget, for keys, focus, the mouse and what only the view shows.
talmo::QsciView* editorView(const QObject& window, const char* name = "talmo");

// Writes bytes to dir/name (creating folders), failing the test on error.
void writeFile(const QString& path, const std::string& bytes);
std::string readFile(const QString& path);
// The non-empty lines of a text file; none when it cannot be read (yet).
QStringList readLines(const QString& path);

class WindowFixture {
public:
    // Makes a scratch directory holding `files` (name -> bytes) current and
    // opens the window on it.
    explicit WindowFixture(const std::vector<std::pair<QString, std::string>>& files = {});
    ~WindowFixture();

    TForm1& window() { return *m_window; }
    QString dir() const { return m_dir.path(); }
    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    // Error reports recorded instead of message boxes.
    QStringList errors;

    // Control of the window by objectName; fails the test when missing.
    template <typename T> T* control(const char* name) {
        return testing::control<T>(*m_window, name);
    }
    // The log's lines.
    QStringList logLines() const;
    // Mouse on a list entry of that text; false when the list has none.
    bool clickItem(QListWidget* list, const QString& text);
    bool doubleClickItem(QListWidget* list, const QString& text);
    // The rows of a list view, as shown; a double click on the row of that
    // text (false when it has none).
    static QStringList rowsOf(const QAbstractItemView* view);
    bool doubleClickRow(QAbstractItemView* view, const QString& text);
    // Double clicks the source list's entry `name`: whether that file is
    // then in the editor.
    bool openSource(const QString& name);
    // Types `path` into the Go page's "pathsrc" and presses Enter, which
    // makes it the working directory.
    void enterDirectory(const QString& path);
    // Types text into a widget, then presses Enter when asked.
    void type(QWidget* widget, const QString& text, bool enter = false);
    // Closes the window (running its close handler) and forgets it.
    void closeWindow();

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    std::unique_ptr<TForm1> m_window;
};

} // namespace talmo::testing
