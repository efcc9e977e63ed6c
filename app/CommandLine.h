// What talmo's command line asks for: `talmo [DIR]`, plus --help and
// --version as every Qt program has them.
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
    // The directory to open, absolute; set only when the window opens.
    QString directory;
};

// Reads `arguments` (the program name first). DIR, relative to the current
// directory, defaults to the current directory; one that is not an existing
// directory exits with code 2, a wrong option or a second DIR with code 1.
StartRequest parseCommandLine(const QStringList& arguments);

// Whether `arguments` only ask for help or the version, which need no
// window system.
bool asksOnlyForText(const QStringList& arguments);

} // namespace talmo
