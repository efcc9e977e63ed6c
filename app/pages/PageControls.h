// SPDX-License-Identifier: GPL-3.0-or-later
// What the pages of the window share: controls made the window's way (named
// by objectName, buttons as narrow as their caption), its fonts, key hooks,
// and the services every page gets from the window (the log and the default
// error report).
#pragma once

#include <QKeySequence>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QFont;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace talmo {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A fixed-pitch face of `points` points.
QFont fixedFont(int points);
// A fixed-pitch face of 9 points, Courier first.
QFont courierFont();
// The "System" face: a bold sans serif, 12 pixels high.
QFont systemFont();
// The file lists' face: a bold sans serif of 9 points.
QFont listFont();

QLineEdit* lineEdit(const char* name, const QString& text = QString());
// A button as narrow as its caption needs, so that the bars fit the window.
QPushButton* button(const char* name, const QString& caption, const QString& hint = QString());
QPlainTextEdit* memo(const char* name, const QString& hint = QString());
QLabel* label(const QString& text, QWidget* buddy = nullptr);

// Shows `menu` where `owner` is right-clicked.
void attachContextMenu(QWidget* owner, QMenu* menu);

// An entry of `menu` named `name`, its shortcut (if any) acting while the
// widget it is added to, or one of its children, has the focus.
QAction* namedAction(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut = QKeySequence());

// A shortcut of `owner` named `name`, acting while `owner` itself has the
// focus.
QAction* widgetShortcut(QWidget* owner, const char* name, const QString& text,
                        const QKeySequence& keys);

// Calls `handler` with each character typed into `box`, before the box takes
// it (Enter arrives as 13).
void onKeyPress(QWidget* box, std::function<void(char)> handler);

// A command typed by the user, as the platform's command processor reads it.
std::string commandText(const QString& typed);
// The window that owns what the shell shows for a run started from `widget`.
std::uintptr_t ownerOf(const QWidget* widget);

// What a page asks of the window.
struct PageServices {
    // Appends one line to the console log.
    std::function<void(const QString&)> log;
    // The default error report (a message box in the real program).
    std::function<void(const QString&)> reportError;
    // A name inside the working directory, where the pages write their files
    // (always by full path); an absolute name stays as it is.
    std::function<std::filesystem::path(const QString& name)> pathInDirectory;

    // Runs a handler body whose failures no handler catches: they go to the
    // default error report and the page carries on.
    void runReportingErrors(const std::function<void()>& body) const;
    // Text typed for the files' 8-bit text, as bytes; nullopt (logged, so the
    // caller changes nothing) when a character has no byte.
    std::optional<std::string> fileText(const QString& text) const;
};

} // namespace talmo
