// SPDX-License-Identifier: GPL-3.0-or-later
// How the batch runner of non-Windows systems (talmo-batch) reads one line
// of a batch file. No Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

struct BatchStep {
    enum class Kind {
        Nothing,   // empty line or a bare drive ("D:", "\\server\share")
        ChangeDir, // "cd X": argument X, literal
        Notepad,   // "notepad X": open X with notepad (argument may be empty)
        Open,      // "start X": open X with the desktop's default opener
        Shell,     // anything else: argument is the whole line, for /bin/sh -c
    };
    Kind kind = Kind::Nothing;
    std::string argument;
    friend bool operator==(const BatchStep&, const BatchStep&) = default;
};

// The step for one line (without its line break; a trailing CR is ignored).
// The words "cd", "notepad" and "start" are matched without regard to ASCII
// case. The argument of "cd", "notepad" and "start" is the rest of the line
// with surrounding blanks removed and then one pair of surrounding double
// quotes; for "start" a leading empty title ("") goes first. It is a path to
// be used as it is, never through a shell. "cd" or "start" without a path
// does nothing.
BatchStep parseBatchLine(std::string_view line);

// The steps of a whole batch file named `batchName` (its bare name decides,
// e.g. "qcc.bat"). The lines the user typed run whole through the shell, as
// typed: the compiler line of "qcc.bat", the CMD line of "gocmd.bat" and the
// game line of "goquake.bat"; every other line is read by parseBatchLine.
// The batch files of another name are read line by line.
std::vector<BatchStep> batchSteps(std::string_view batchName, std::string_view bytes);

// With --progress the runner reports each finished line on its standard
// output as "N STATUS\n": the line's number (1-based) and its exit status (0
// for the lines it runs itself, 127 for a program it could not start).
std::string progressLine(std::size_t number, int status);
struct LineProgress {
    std::size_t number = 0;
    int status = 0;
    friend bool operator==(const LineProgress&, const LineProgress&) = default;
};
// A progress line read back (its line break optional); nullopt when it is no
// such line.
std::optional<LineProgress> parseProgressLine(std::string_view line);

// The lines of a batch file's bytes: split at LF, a CR before it dropped; no
// entry for the empty text after the last line break.
std::vector<std::string> splitBatchLines(std::string_view bytes);

} // namespace talmo
