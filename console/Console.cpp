// SPDX-License-Identifier: GPL-3.0-or-later
#include "Console.h"

namespace talmo {

const std::vector<std::string>& consoleHelpLines() {
    static const std::vector<std::string> lines = {
        "Help:",
        " dir         : see actual dir",
        " dir <name>  : sets actual dir",
        " clear       : clear log",
        " find <name> : find <name> in data",
        " qcc         : compile proyect",
        " qcc <name>  : compile <name> proyect",
        " q           : run quake with actual proyect",
        " q <name>    : run quake with proyect <name>",
        " s           : save actual edit file",
        " s <name>    : save actual edit file as <name>",
        " quake        : read quake exe var",
        " quake <name> : sets quake exe var",
        " arg         : read args for quake",
        " arg <txt>   : sets args for quake",
        " autosave    : see autosave on change config",
        " autosave  1 : sets autosave on change config on",
        " save <name> : save var/cms on file",
        " load <name> : load cmds/var from file",
        " Sugest welcome here to talmo-dev@users.noreply.example",
        " Actual console version is only a sugest placeholder",
    };
    return lines;
}

void ShowConsoleHelp(ConsoleHost& host) {
    for (const std::string& line : consoleHelpLines())
        host.logLine(line);
}

void RunConsoleCommand(ConsoleHost& host, std::string_view text) {
    if (text == "dir") {
        host.logLine("Dir Path \"" + host.workingDirectory() + "\"");
    } else if (text == "help" || text == "ayuda" || text == "sos" || text == "h") {
        ShowConsoleHelp(host);
    } else if (text == "autosave") {
        host.logLine(host.autosaveChecked() ? "autosave 1" : "autosave 0");
    } else if (text == "autosave 1" || text == "autosave 0") {
        host.setAutosave(text == "autosave 1");
        RunConsoleCommand(host, "autosave");
    } else if (text == "clear") {
        host.clearLog();
    } else {
        host.logLine(std::string(text) + " unknom action.");
    }
    host.logLine("Ok.");
}

bool enterConsoleLine(ConsoleHost& host, std::string_view text) {
    if (text.empty())
        return false;
    host.logLine("> " + std::string(text));
    RunConsoleCommand(host, text);
    return true;
}

} // namespace talmo
