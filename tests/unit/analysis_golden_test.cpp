// SPDX-License-Identifier: GPL-3.0-or-later
// Golden test: the highlighting, the function index and both reports of
// tests/data/analysis_sample.qc, written out as text and compared with
// tests/data/analysis_sample.golden. After an intended change, regenerate
// with scripts/regen-goldens and review the difference.
#include "FunctionIndex.h"
#include "Highlight.h"
#include "Report.h"
#include "Text.h"

#include "analysis_support.h"

#include <cstdlib>
#include <fstream>

namespace talmo {
namespace {

const std::string kSample = std::string(TALMO_TEST_DATA) + "/analysis_sample.qc";
const std::string kGolden = std::string(TALMO_TEST_DATA) + "/analysis_sample.golden";

// Each line of the text, then under it the format of its characters and of
// its line break: '.' plain, 'B' bold, 'G' green, 'X' bold and green.
std::string highlightingReport(const TextModel& m) {
    const std::string marks = testsupport::markup(m);
    const std::string text = m.text();
    std::string out;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find("\r\n", begin);
        const std::size_t next = end == std::string::npos ? text.size() : end + 2;
        if (end == std::string::npos)
            end = text.size();
        out += text.substr(begin, end - begin) + "\n";
        out += marks.substr(begin, next - begin) + "\n";
        begin = next;
    }
    return out;
}

std::string goldenText() {
    TextModel m;
    m.loadFromFile(kSample);
    highlightEditor(m);
    std::string out = "# highlighting\n" + highlightingReport(m);
    out += "# selection after the pass: " + std::to_string(m.selectionStart()) + " +" +
           std::to_string(m.selectionLength()) + "\n";
    out += "# function index\n";
    for (const std::string& e : buildFunctionIndex(m.lines()))
        out += e + "\n";
    ReportReader reader;
    std::vector<std::string> entries;
    scanFileForFunctions(reader, kSample, "sample.qc", entries);
    out += "# funcs()\n";
    for (const std::string& e : entries)
        out += e + "\n";
    entries.clear();
    scanFileForAttributes(reader, kSample, "sample.qc", entries);
    out += "# .atributes\n";
    for (const std::string& e : entries)
        out += e + "\n";
    return out;
}

TEST(AnalysisGolden, SampleFileGivesTheRecordedResults) {
    const std::string actual = goldenText();
    if (std::getenv("TALMO_REGEN_GOLDENS")) {
        writeFileBytes(kGolden, actual);
        GTEST_SKIP() << "wrote " << kGolden;
    }
    EXPECT_EQ(readFileBytes(kGolden), actual) << "regenerate with scripts/regen-goldens";
}

} // namespace
} // namespace talmo
