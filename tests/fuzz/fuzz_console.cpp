// SPDX-License-Identifier: GPL-3.0-or-later
// The console: every entered line is echoed and answered exactly as the
// interpreter's table says, "Ok." closes every command, and with the log's
// cap the window's log is always the newest 801 lines (or fewer) of what was
// written since the last "clear".
#include "Console.h"
#include "FuzzSupport.h"
#include "LogBuffer.h"

#include <algorithm>

namespace {

// The window: a capped log, the autosave box and the directory list.
class CappedHost : public talmo::ConsoleHost {
public:
    std::vector<std::string> log;
    bool autosave = true;
    std::string directory;
    void logLine(const std::string& text) override { talmo::appendCapped(log, text); }
    void clearLog() override { log.clear(); }
    bool autosaveChecked() const override { return autosave; }
    void setAutosave(bool on) override { autosave = on; }
    std::string workingDirectory() const override { return directory; }
};

// What the interpreter writes, from its table, into an uncapped log.
void referenceRun(std::vector<std::string>& log, bool& autosave, const std::string& dir,
                  const std::string& text) {
    if (text == "dir") {
        log.push_back("Dir Path \"" + dir + "\"");
    } else if (text == "help" || text == "ayuda" || text == "sos" || text == "h") {
        log.insert(log.end(), talmo::consoleHelpLines().begin(), talmo::consoleHelpLines().end());
    } else if (text == "autosave") {
        log.push_back(autosave ? "autosave 1" : "autosave 0");
    } else if (text == "autosave 1" || text == "autosave 0") {
        autosave = text == "autosave 1";
        log.push_back(text);
        log.push_back("Ok.");
    } else if (text == "clear") {
        log.clear();
    } else {
        log.push_back(text + " unknom action.");
    }
    log.push_back("Ok.");
}

const char* const kWords[] = {"dir",      "help",       "ayuda",      "sos",   "h",
                              "autosave", "autosave 1", "autosave 0", "clear", "autosave  1",
                              "Dir",      "dir ",       "?",          ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    talmo::fuzz::FuzzInput in(data, size);
    CappedHost host;
    host.autosave = in.flag();
    host.directory = in.shortString();
    // A log already near or at its cap.
    const long already = in.upTo(820);
    std::vector<std::string> reference;
    for (long i = 0; i < already; ++i) {
        const std::string line = "line " + std::to_string(i);
        host.logLine(line);
        reference.push_back(line);
    }
    bool autosave = host.autosave;
    TALMO_FUZZ_CHECK(talmo::consoleHelpLines().size() == 21);
    while (!in.empty()) {
        const std::uint8_t how = in.byte();
        std::string text;
        if (how < 128)
            text = kWords[how % (sizeof kWords / sizeof *kWords)];
        else
            text = in.shortString();
        const bool isHelpButton = how == 127;
        if (isHelpButton) {
            talmo::ShowConsoleHelp(host);
            reference.insert(reference.end(), talmo::consoleHelpLines().begin(),
                             talmo::consoleHelpLines().end());
        } else {
            const bool ran = talmo::enterConsoleLine(host, text);
            TALMO_FUZZ_CHECK(ran == !text.empty());
            if (ran) {
                reference.push_back("> " + text);
                referenceRun(reference, autosave, host.directory, text);
            }
        }
        if (reference.size() > 4000) // only the newest 801 lines matter
            reference.erase(reference.begin(), reference.end() - 801);
        TALMO_FUZZ_CHECK(host.log.size() <= 801);
        TALMO_FUZZ_CHECK(host.autosave == autosave);
        const std::size_t keep = std::min<std::size_t>(reference.size(), 801);
        TALMO_FUZZ_CHECK(
            std::equal(host.log.begin(), host.log.end(), reference.end() - keep, reference.end()) &&
            host.log.size() == keep);
    }
    return 0;
}
