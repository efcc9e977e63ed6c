// SPDX-License-Identifier: GPL-3.0-or-later
#include "Snip.h"

#include "Text.h"

#include <exception>

namespace talmo {

std::string snipFileName(std::string_view name) {
    std::string file(name);
    file += kSnipExtension;
    return file;
}

void writeSnipFile(const std::filesystem::path& path, std::string_view text) {
    writeFileBytes(path, text);
}

std::string readSnipFile(const std::filesystem::path& path) {
    return normalizeLineBreaks(readFileBytes(path));
}

std::vector<std::string> saveSnip(std::string_view name, std::string_view text,
                                  const std::function<void()>& afterWrite,
                                  const std::filesystem::path& directory) {
    std::vector<std::string> log;
    const std::string file = snipFileName(name);
    if (!name.empty()) {
        try {
            writeSnipFile(directory / file, text);
            if (afterWrite)
                afterWrite();
            log.emplace_back("Save snip!!: ");
        } catch (const std::exception&) {
            log.emplace_back("Save fail!!: ");
        }
    }
    log.push_back("file: " + file);
    return log;
}

} // namespace talmo
