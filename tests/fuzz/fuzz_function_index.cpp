// SPDX-License-Identifier: GPL-3.0-or-later
// The function index: built from the editor's lines or from its whole text,
// it must hold the head of every qualifying line, in line order, each ending
// with its first "=" and free of CR.
#include "FunctionIndex.h"
#include "FuzzSupport.h"
#include "TextModel.h"

#include <array>

namespace {

// The index tests and the entry spelled out plainly.
std::vector<std::string> referenceIndex(const std::vector<std::string>& lines) {
    static constexpr std::array<std::string_view, 10> tests = {
        "void",    "float(",   "float (",   "float\t(", "float  (",
        "entity(", "entity (", "entity  (", "string (", "string("};
    std::vector<std::string> entries;
    for (const std::string& line : lines) {
        bool qualifies = false;
        for (std::string_view t : tests)
            qualifies = qualifies || line.find(t) != std::string::npos;
        const std::size_t eq = line.find('=');
        if (!qualifies || eq == std::string::npos)
            continue;
        std::string entry;
        for (std::size_t i = 0; i <= eq; ++i)
            if (line[i] != '\r')
                entry += line[i];
        entries.push_back(entry);
    }
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string raw(reinterpret_cast<const char*>(data), size);

    // Any single line, CR included.
    const std::optional<std::string> entry = talmo::indexEntry(raw);
    TALMO_FUZZ_CHECK(entry.has_value() == (raw.find('=') != std::string::npos));
    if (entry) {
        TALMO_FUZZ_CHECK(!entry->empty() && entry->back() == '=');
        TALMO_FUZZ_CHECK(entry->find('\r') == std::string::npos);
        TALMO_FUZZ_CHECK(entry->find('=') == entry->size() - 1);
    }

    talmo::TextModel m;
    m.setText(raw);
    const std::vector<std::string> lines = m.lines();
    const std::vector<std::string> fromLines = talmo::buildFunctionIndex(lines);
    const std::vector<std::string> fromText = talmo::buildFunctionIndexFromText(m.text());
    TALMO_FUZZ_CHECK(fromLines == referenceIndex(lines));
    TALMO_FUZZ_CHECK(fromText == fromLines);
    std::size_t searchFrom = 0;
    const std::string text = m.text();
    for (const std::string& e : fromLines) {
        TALMO_FUZZ_CHECK(!e.empty() && e.back() == '=');
        TALMO_FUZZ_CHECK(e.find('\r') == std::string::npos && e.find('\n') == std::string::npos);
        // Entries come in text order: each one is the start of a later line.
        std::size_t at = text.find(e, searchFrom);
        while (at != std::string::npos && at > 0 && text[at - 1] != '\n')
            at = text.find(e, at + 1);
        TALMO_FUZZ_CHECK(at != std::string::npos);
        searchFrom = at + e.size();
    }
    return 0;
}
