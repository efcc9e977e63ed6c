// SPDX-License-Identifier: GPL-3.0-or-later
// The console of the Cmd page: the interpreter, its help listing and the
// handling of an entered line, over what they need of the window. No Qt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talmo {

// What the console reads and changes in the window.
class ConsoleHost {
public:
    virtual ~ConsoleHost() = default;
    // Appends one line to the console log (the window's LogLine).
    virtual void logLine(const std::string& text) = 0;
    // Empties the console log.
    virtual void clearLog() = 0;
    // The "autosave edit" check box.
    virtual bool autosaveChecked() const = 0;
    virtual void setAutosave(bool on) = 0;
    // The directory shown by the directory list.
    virtual std::string workingDirectory() const = 0;
};

// The 21 lines of the help listing, in order.
const std::vector<std::string>& consoleHelpLines();

// Appends the help listing to the log (the "?" button).
void ShowConsoleHelp(ConsoleHost& host);

// Runs one command: the whole text, compared byte for byte and with case, is
// "dir", "help"/"ayuda"/"sos"/"h", "autosave", "autosave 1", "autosave 0" or
// "clear"; anything else is answered with the text + " unknom action.".
// "Ok." follows in every case.
void RunConsoleCommand(ConsoleHost& host, std::string_view text);

// Enter in the console entry holding `text`: nothing for an empty text;
// otherwise echoes "> " + text, runs it as typed and returns true (the window
// then empties the entry).
bool enterConsoleLine(ConsoleHost& host, std::string_view text);

} // namespace talmo
