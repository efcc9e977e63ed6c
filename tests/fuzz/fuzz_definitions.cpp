// SPDX-License-Identifier: GPL-3.0-or-later
// Definitions and usages of one source text: every definition is a whole
// identifier at its place, with the line and column the editor would show,
// and is itself found as a usage of its name; usages are whole words at
// their lines; a CR LF twin of the text gives the same lines and columns.
#include "DefinitionScan.h"
#include "FuzzSupport.h"
#include "Text.h"

#include <tuple>

namespace {

// Line (1-based) and column of `offset`, counting LF, CR LF and a lone CR.
std::pair<int, int> placeOf(std::string_view text, std::size_t offset) {
    int line = 1;
    std::size_t start = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        const bool crBeforeLf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if ((text[i] == '\n' || text[i] == '\r') && !crBeforeLf) {
            ++line;
            start = i + 1;
        }
    }
    return {line, static_cast<int>(offset - start)};
}

bool wholeWordAt(std::string_view text, std::size_t offset, std::string_view name) {
    const std::size_t end = offset + name.size();
    return end <= text.size() && text.substr(offset, name.size()) == name &&
           (offset == 0 ||
            !talmo::isIdentifierByte(static_cast<unsigned char>(text[offset - 1]))) &&
           (end == text.size() || !talmo::isIdentifierByte(static_cast<unsigned char>(text[end])));
}

using Placed = std::vector<std::tuple<std::string, talmo::DefinitionKind, int, int>>;

Placed placed(const std::vector<talmo::Definition>& found) {
    Placed out;
    for (const talmo::Definition& d : found)
        out.emplace_back(d.name, d.kind, d.line, d.column);
    return out;
}

std::vector<std::pair<int, int>> places(const std::vector<talmo::TextUsage>& found) {
    std::vector<std::pair<int, int>> out;
    for (const talmo::TextUsage& u : found)
        out.emplace_back(u.line, u.column);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    talmo::fuzz::FuzzInput input(data, size);
    std::string name = input.shortString();
    const std::string text = input.rest();
    const std::string twin = talmo::normalizeLineBreaks(text);

    const std::vector<talmo::Definition> definitions = talmo::scanDefinitions(text);
    // A name that is no identifier is never found; look for a defined one.
    if (!talmo::findUsagesInText(name + ";", name).empty())
        TALMO_FUZZ_CHECK(!name.empty() && wholeWordAt(name, 0, name));
    else if (!definitions.empty())
        name = definitions[name.size() % definitions.size()].name;
    std::size_t previous = 0;
    for (const talmo::Definition& d : definitions) {
        TALMO_FUZZ_CHECK(!d.name.empty() && !(d.name[0] >= '0' && d.name[0] <= '9'));
        TALMO_FUZZ_CHECK(d.offset >= previous);
        previous = d.offset + 1;
        TALMO_FUZZ_CHECK(wholeWordAt(text, d.offset, d.name));
        TALMO_FUZZ_CHECK(placeOf(text, d.offset) == std::make_pair(d.line, d.column));
        const std::vector<std::pair<int, int>> uses = places(talmo::findUsagesInText(text, d.name));
        TALMO_FUZZ_CHECK(std::find(uses.begin(), uses.end(), std::make_pair(d.line, d.column)) !=
                         uses.end());
    }
    TALMO_FUZZ_CHECK(placed(talmo::scanDefinitions(twin)) == placed(definitions));

    const std::vector<talmo::TextUsage> usages = talmo::findUsagesInText(text, name);
    for (const talmo::TextUsage& u : usages) {
        const std::size_t offset = u.lineStart + static_cast<std::size_t>(u.column);
        TALMO_FUZZ_CHECK(wholeWordAt(text, offset, name));
        TALMO_FUZZ_CHECK(placeOf(text, offset) == std::make_pair(u.line, u.column));
        const std::string_view line = std::string_view(text).substr(u.lineStart, u.lineLength);
        TALMO_FUZZ_CHECK(line == talmo::lineAround(text, offset));
    }
    TALMO_FUZZ_CHECK(places(talmo::findUsagesInText(twin, name)) == places(usages));
    return 0;
}
