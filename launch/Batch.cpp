// SPDX-License-Identifier: GPL-3.0-or-later
#include "Batch.h"

#include "FileError.h"
#include "Text.h"

#include <system_error>

namespace talmo {

bool needsQuoting(std::string_view path) {
    return path.find_first_of(" \t&|<>^%;$`'\"()") != std::string_view::npos;
}

std::string batchArgument(std::string_view path, BatchDialect dialect) {
    if (path.find_first_of("\r\n") != std::string_view::npos)
        throw FileError("A file name holding a line break cannot go into a batch file");
    // The Windows command processor has no escape for a double quote inside
    // quotes: it would end the quoting and expose what follows (& | > ...).
    if (dialect == BatchDialect::Cmd && path.find('"') != std::string_view::npos)
        throw FileError("A file name holding a double quote cannot go into a batch file");
    if (!needsQuoting(path))
        return std::string(path);
    std::string out = "\"";
    for (const char c : path) {
        out += c;
        if (c == '%' && dialect == BatchDialect::Cmd)
            out += '%';
    }
    out += '"';
    return out;
}

std::vector<std::string> compileBatchLines(std::string_view compiler) {
    return {std::string(compiler) + " > log", "notepad log "};
}

std::string drivePart(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':')
        return std::string(path.substr(0, 2));
    if (path.substr(0, 2) == "\\\\") {
        const std::size_t serverEnd = path.find('\\', 2);
        if (serverEnd == std::string_view::npos)
            return std::string(path);
        const std::size_t shareEnd = path.find('\\', serverEnd + 1);
        return std::string(path.substr(0, shareEnd));
    }
    return {};
}

std::vector<std::string> gameBatchLines(const GameSettings& game) {
    return {
        drivePart(game.path),
        "cd " + game.path,
        game.exe + " -game " + game.mod + " " + game.params,
    };
}

std::vector<std::string> notepadBatchLines(std::string_view selectedPath, BatchDialect dialect) {
    return {"notepad " + batchArgument(selectedPath, dialect)};
}

std::vector<std::string> shellBatchLines(std::string_view selectedPath, BatchDialect dialect) {
    const std::string arg = batchArgument(selectedPath, dialect);
    // A quoted first argument of "start" would be taken as the window title.
    if (needsQuoting(selectedPath))
        return {"start \"\" " + arg};
    return {"start " + arg};
}

std::vector<std::string> commandBatchLines(std::string_view commanderText) {
    return {std::string(commanderText) + "> commanderlog", "notepad commanderlog"};
}

std::string exploreFolderPath(std::string_view selectedPath, BatchDialect dialect) {
    // A POSIX name may hold "\\" and ":" as ordinary characters.
    const char* separators = dialect == BatchDialect::Posix ? "/" : "\\:";
    const std::size_t cut = selectedPath.find_last_of(separators);
    if (cut == std::string_view::npos)
        return {};
    return std::string(selectedPath.substr(0, cut + 1));
}

std::string defaultCompiler(BatchDialect dialect,
                            const std::function<bool(std::string_view)>& onPath) {
    if (dialect == BatchDialect::Cmd)
        return "frikqcc2.exe";
    for (const char* compiler : {"fteqcc", "gmqcc", "qfcc", "frikqcc"})
        if (onPath(compiler))
            return compiler;
    return "fteqcc";
}

void writeBatchFile(const std::filesystem::path& fileName, const std::vector<std::string>& lines) {
    writeGeneratedFileBytes(fileName, joinCrLf(lines));
}

void dropLinkedOutput(const std::filesystem::path& outputName) {
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(outputName, ec)))
        std::filesystem::remove(outputName, ec);
}

} // namespace talmo
