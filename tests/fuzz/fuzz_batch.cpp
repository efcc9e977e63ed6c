// SPDX-License-Identifier: GPL-3.0-or-later
// The batch files: a hostile file name never lets a character that the
// command processor acts on reach an unquoted position, the runner of other
// systems reads the path back exactly, and every file is composed of the
// settings as typed.
#include "Batch.h"
#include "BatchLine.h"
#include "FuzzSupport.h"
#include "Text.h"

#include <fstream>
#include <iterator>

namespace {

using talmo::BatchDialect;
using talmo::BatchStep;

// Walks a line as the Windows command processor splits it: a double quote
// starts or ends a quoted part; outside one, these characters act.
bool cmdActsOnSomething(std::string_view line) {
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && std::string_view("&|<>^();$`%").find(c) != std::string_view::npos)
            return true;
    }
    return false;
}

// "%%" back to "%".
std::string undoubled(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        out += s[i];
        if (s[i] == '%') {
            TALMO_FUZZ_CHECK(i + 1 < s.size() && s[i + 1] == '%');
            ++i;
        }
    }
    return out;
}

bool throwsFileError(const auto& f) {
    try {
        f();
    } catch (const talmo::FileError&) {
        return true;
    }
    return false;
}

void checkPath(const std::string& path) {
    const bool hasBreak = path.find_first_of("\r\n") != std::string::npos;
    const bool needsQuotes = talmo::needsQuoting(path);
    TALMO_FUZZ_CHECK(needsQuotes == (path.find_first_of(" \t&|<>^%;$`'\"()") != std::string::npos));
    for (BatchDialect d : {BatchDialect::Cmd, BatchDialect::Posix}) {
        if (hasBreak) {
            TALMO_FUZZ_CHECK(throwsFileError([&] { (void)talmo::batchArgument(path, d); }));
            TALMO_FUZZ_CHECK(throwsFileError([&] { (void)talmo::notepadBatchLines(path, d); }));
            TALMO_FUZZ_CHECK(throwsFileError([&] { (void)talmo::shellBatchLines(path, d); }));
            continue;
        }
        std::string arg;
        if (throwsFileError([&] { arg = talmo::batchArgument(path, d); })) {
            // Refused: only a name that cannot be quoted for the command processor.
            TALMO_FUZZ_CHECK(d == BatchDialect::Cmd && path.find('"') != std::string::npos);
            continue;
        }
        if (!needsQuotes) {
            TALMO_FUZZ_CHECK(arg == path);
        } else {
            TALMO_FUZZ_CHECK(arg.size() >= 2 && arg.front() == '"' && arg.back() == '"');
            const std::string inner = arg.substr(1, arg.size() - 2);
            TALMO_FUZZ_CHECK((d == BatchDialect::Cmd ? undoubled(inner) : inner) == path);
        }
        const std::vector<std::string> notepad = talmo::notepadBatchLines(path, d);
        const std::vector<std::string> shell = talmo::shellBatchLines(path, d);
        TALMO_FUZZ_CHECK(notepad.size() == 1 && shell.size() == 1);
        TALMO_FUZZ_CHECK(notepad[0] == "notepad " + arg);
        if (d == BatchDialect::Cmd) {
            TALMO_FUZZ_CHECK(!cmdActsOnSomething(notepad[0]));
            TALMO_FUZZ_CHECK(!cmdActsOnSomething(shell[0]));
        } else {
            // The runner takes the path back exactly and never hands it to a shell.
            TALMO_FUZZ_CHECK(
                (talmo::parseBatchLine(notepad[0]) == BatchStep{BatchStep::Kind::Notepad, path}));
            const BatchStep open = talmo::parseBatchLine(shell[0]);
            if (path.empty())
                TALMO_FUZZ_CHECK(open.kind == BatchStep::Kind::Nothing);
            else
                TALMO_FUZZ_CHECK((open == BatchStep{BatchStep::Kind::Open, path}));
        }
    }

    for (BatchDialect d : {BatchDialect::Cmd, BatchDialect::Posix}) {
        const std::string folder = talmo::exploreFolderPath(path, d);
        const std::string_view seps = d == BatchDialect::Posix ? "/" : "\\:";
        TALMO_FUZZ_CHECK(path.compare(0, folder.size(), folder) == 0);
        TALMO_FUZZ_CHECK(folder.empty() || seps.find(folder.back()) != std::string_view::npos);
        TALMO_FUZZ_CHECK(path.find_first_of(seps, folder.size()) == std::string::npos);
    }

    const std::string drive = talmo::drivePart(path);
    TALMO_FUZZ_CHECK(path.compare(0, drive.size(), drive) == 0);
    if (path.size() >= 2 && path[1] == ':')
        TALMO_FUZZ_CHECK(drive == path.substr(0, 2));
    else if (path.rfind("\\\\", 0) == 0)
        TALMO_FUZZ_CHECK(drive.size() >= 2 &&
                         (drive.size() == path.size() || path[drive.size()] == '\\'));
    else
        TALMO_FUZZ_CHECK(drive.empty());
}

void checkLine(const std::string& line) {
    const BatchStep step = talmo::parseBatchLine(line);
    std::string_view bare = line;
    if (!bare.empty() && bare.back() == '\r')
        bare.remove_suffix(1);
    switch (step.kind) {
    case BatchStep::Kind::Shell:
        TALMO_FUZZ_CHECK(step.argument == bare);
        break;
    case BatchStep::Kind::ChangeDir:
    case BatchStep::Kind::Open:
        TALMO_FUZZ_CHECK(!step.argument.empty());
        [[fallthrough]];
    case BatchStep::Kind::Notepad:
        TALMO_FUZZ_CHECK(bare.find(step.argument) != std::string_view::npos);
        TALMO_FUZZ_CHECK(bare.size() > step.argument.size());
        break;
    case BatchStep::Kind::Nothing:
        TALMO_FUZZ_CHECK(step.argument.empty());
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    talmo::fuzz::FuzzInput in(data, size);
    talmo::GameSettings game;
    game.path = in.shortString();
    game.exe = in.shortString();
    game.mod = in.shortString();
    game.params = in.shortString();
    const std::string rest = in.rest();

    checkPath(game.path);
    checkPath(rest);
    checkLine(rest);
    checkLine(game.path);

    // The settings go in as typed.
    const std::vector<std::string> gameLines = talmo::gameBatchLines(game);
    TALMO_FUZZ_CHECK(gameLines.size() == 3);
    TALMO_FUZZ_CHECK(gameLines[0] == talmo::drivePart(game.path));
    TALMO_FUZZ_CHECK(gameLines[1] == "cd " + game.path);
    TALMO_FUZZ_CHECK(gameLines[2] == game.exe + " -game " + game.mod + " " + game.params);
    TALMO_FUZZ_CHECK((talmo::compileBatchLines(game.exe) ==
                      std::vector<std::string>{game.exe + " > log", "notepad log "}));
    TALMO_FUZZ_CHECK(
        (talmo::commandBatchLines(game.params) ==
         std::vector<std::string>{game.params + "> commanderlog", "notepad commanderlog"}));

    // A batch file's lines, written and split again, are the lines written
    // (for lines holding no LF, as all composed lines are).
    std::vector<std::string> lines = {game.path, game.exe, game.mod, game.params};
    bool splittable = true;
    for (const std::string& l : lines)
        splittable = splittable && l.find('\n') == std::string::npos;
    if (splittable) {
        const std::string path = talmo::fuzz::scratchDirectory() + "/fuzz.bat";
        talmo::writeBatchFile(path, lines);
        const std::string bytes = talmo::readFileBytes(path);
        TALMO_FUZZ_CHECK(bytes == talmo::joinCrLf(lines));
        TALMO_FUZZ_CHECK(talmo::splitBatchLines(bytes) == lines);
    }
    const std::vector<std::string> split = talmo::splitBatchLines(rest);
    for (const std::string& l : split) {
        TALMO_FUZZ_CHECK(l.find('\n') == std::string::npos);
        checkLine(l);
    }
    return 0;
}
