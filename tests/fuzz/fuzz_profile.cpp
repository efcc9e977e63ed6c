// SPDX-License-Identifier: GPL-3.0-or-later
// Profiles: ProfileValue never keeps leading or trailing bytes 0 to 32, a
// memo line is the line between its breaks, and a profile written (as text
// and as a file) and read back gives the trimmed values of its boxes.
#include "FuzzSupport.h"
#include "Profile.h"
#include "Text.h"

namespace {

// Line `index` of a text whose lines end in CR LF, CR or LF.
std::string referenceMemoLine(const std::string& text, int index) {
    int line = 0;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (line == index)
                return current;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++line;
            current.clear();
        } else {
            current += text[i];
        }
    }
    return line == index ? current : std::string();
}

// A single-line box holds no line break.
std::string boxText(talmo::fuzz::FuzzInput& in) {
    std::string s = in.shortString();
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    talmo::fuzz::FuzzInput in(data, size);
    talmo::ProfileSettings s;
    s.configFile = talmo::profileFileName(boxText(in));
    s.compiler = boxText(in);
    s.pathSrc = boxText(in);
    s.pathExe = boxText(in);
    s.quakeExe = boxText(in);
    s.modName = boxText(in);
    s.params = boxText(in);
    const std::string memo = in.rest();

    // Any line.
    const std::string v = talmo::ProfileValue(memo);
    TALMO_FUZZ_CHECK(v.empty() || (!talmo::fuzz::isBlankOrControl(v.front()) &&
                                   !talmo::fuzz::isBlankOrControl(v.back())));
    const std::size_t colon = memo.find(':');
    TALMO_FUZZ_CHECK(
        v == talmo::fuzz::trimmed(colon == std::string::npos ? memo : memo.substr(colon + 1)));
    // Any memo: line by line, never failing.
    for (int i = -1; i < 9; ++i)
        TALMO_FUZZ_CHECK(talmo::memoLine(memo, i) == (i < 0 ? "" : referenceMemoLine(memo, i)));
    const talmo::ProfileSettings loaded = talmo::readProfileValues(memo);
    TALMO_FUZZ_CHECK(loaded.params == talmo::ProfileValue(referenceMemoLine(memo, 6)));

    // The name Save writes.
    const std::string name = talmo::profileFileName(s.compiler);
    TALMO_FUZZ_CHECK(s.compiler.find('.') == std::string::npos ? name == s.compiler + ".qprofile"
                                                               : name == s.compiler);

    // Compose, then read back: the trimmed values, in their boxes.
    const std::vector<std::string> lines = talmo::composeProfileLines(s);
    TALMO_FUZZ_CHECK(lines.size() == 7);
    const std::string text = talmo::composeProfileText(s);
    TALMO_FUZZ_CHECK(text == talmo::joinCrLf(lines));
    talmo::ProfileSettings expected;
    expected.configFile = talmo::fuzz::trimmed(s.configFile);
    expected.compiler = talmo::fuzz::trimmed(s.compiler);
    expected.pathSrc = talmo::fuzz::trimmed(s.pathSrc);
    expected.pathExe = talmo::fuzz::trimmed(s.pathExe);
    expected.quakeExe = talmo::fuzz::trimmed(s.quakeExe);
    expected.modName = talmo::fuzz::trimmed(s.modName);
    expected.params = talmo::fuzz::trimmed(s.params);
    TALMO_FUZZ_CHECK(talmo::readProfileValues(text) == expected);

    // Through the file.
    const std::string path = talmo::fuzz::scratchDirectory() + "/fuzz.qprofile";
    talmo::writeProfileFile(path, s);
    const std::string shown = talmo::readProfileFile(path);
    TALMO_FUZZ_CHECK(shown == text);
    TALMO_FUZZ_CHECK(talmo::readProfileValues(shown) == expected);
    // A file of any bytes shows whole, with its line breaks made CR LF.
    talmo::writeFileBytes(path, memo);
    TALMO_FUZZ_CHECK(talmo::readProfileFile(path) == talmo::normalizeLineBreaks(memo));
    return 0;
}
