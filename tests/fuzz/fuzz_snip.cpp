// SPDX-License-Identifier: GPL-3.0-or-later
// Snippets: a snip written and read back is its text with every lone CR or
// LF turned into CR LF (and nothing else changed); Save writes the name plus
// ".snip" and logs its two lines.
#include "FuzzSupport.h"
#include "Snip.h"
#include "Text.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

// Every line break (CR LF, lone CR, lone LF) as one LF.
std::string breaksAsLf(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            out += '\n';
            if (i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string fileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    talmo::fuzz::FuzzInput in(data, size);
    std::string name = in.shortString();
    const std::string text = in.rest();
    const std::string dir = talmo::fuzz::scratchDirectory();

    const std::string path = dir + "/fuzz.snip";
    talmo::writeSnipFile(path, text);
    TALMO_FUZZ_CHECK(fileBytes(path) == text); // byte for byte, no line end added
    const std::string shown = talmo::readSnipFile(path);
    // Every CR is followed by LF and every LF follows a CR.
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == '\r')
            TALMO_FUZZ_CHECK(i + 1 < shown.size() && shown[i + 1] == '\n');
        if (shown[i] == '\n')
            TALMO_FUZZ_CHECK(i > 0 && shown[i - 1] == '\r');
    }
    TALMO_FUZZ_CHECK(breaksAsLf(shown) == breaksAsLf(text));
    // Showing a shown snip again changes nothing.
    talmo::writeSnipFile(path, shown);
    TALMO_FUZZ_CHECK(talmo::readSnipFile(path) == shown);

    // Save, with a name that stays inside the scratch directory.
    for (char& c : name)
        if (c == '/' || c == '\0')
            c = '_';
    if (name.size() > 200) // a file name holds at most 255 bytes
        name.resize(200);
    if (name == "." || name == "..")
        name += "_";
    TALMO_FUZZ_CHECK(talmo::snipFileName(name) == name + ".snip");
    const std::filesystem::path before = std::filesystem::current_path();
    TALMO_FUZZ_CHECK(::chdir(dir.c_str()) == 0);
    int reread = 0;
    const std::vector<std::string> log = talmo::saveSnip(name, text, [&] { ++reread; });
    if (name.empty()) {
        TALMO_FUZZ_CHECK(log == std::vector<std::string>{"file: .snip"});
        TALMO_FUZZ_CHECK(reread == 0);
    } else {
        const std::vector<std::string> expected = {"Save snip!!: ", "file: " + name + ".snip"};
        TALMO_FUZZ_CHECK(log == expected);
        TALMO_FUZZ_CHECK(reread == 1);
        TALMO_FUZZ_CHECK(fileBytes(name + ".snip") == text);
        std::filesystem::remove(name + ".snip");
    }
    std::filesystem::current_path(before);
    return 0;
}
