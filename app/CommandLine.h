// SPDX-License-Identifier: GPL-3.0-or-later
// What talmo's command line asks for: `talmo [DIR | FILE]`, --help and
// --version as every Qt program has them, and --last-directory, which the
// desktop menu's entry passes.
#pragma once

#include <QString>
#include <QStringList>

namespace talmo {

struct StartRequest {
    // Exit at once with this code, printing `message`: 0 for --help and
    // --version (to standard output), non-zero for an error (to standard
    // error). -1: open the window.
    int exitCode = -1;
    QString message;
    // The directory to open, absolute; set only when the window opens. For a
    // FILE, the folder that holds it.
    QString directory;
    // The FILE to load into the editor, its name alone (it lies in
    // `directory`); empty for DIR or none.
    QString file;
    // No DIR or FILE was given and --last-directory was: the directory of the
    // last run is opened instead of the current one, while it exists.
    bool lastDirectory = false;
};

// Reads `arguments` (the program name first). DIR or FILE, relative to the
// current directory, defaults to the current directory; one that is neither
// an existing directory nor a plain file exits with code 2, a wrong option or
// a second DIR with code 1. The toolkit's own options (-style, -platform and
// the like) are left to the application, which takes them first.
StartRequest parseCommandLine(const QStringList& arguments);

// Whether `arguments` only ask for help or the version, which need no
// window system.
bool asksOnlyForText(const QStringList& arguments);

// The directory the window opens on: `remembered` (the last run's) when the
// request asks for it and it is still a directory, else the request's own.
QString startDirectory(const StartRequest& request, const QString& remembered);

} // namespace talmo
