// SPDX-License-Identifier: GPL-3.0-or-later
#include "Editor.h"

#include "Text.h"

namespace talmo {

std::vector<std::string> Editor::lines() const {
    std::vector<std::string> out;
    const int n = lineCount();
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out.push_back(line(i));
    return out;
}

std::string Editor::joinedLines() const {
    const std::string t = text();
    if (t.empty() || (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0))
        return t;
    return t + "\r\n";
}

void Editor::loadFromFile(const std::filesystem::path& path) {
    setText(readFileBytes(path));
}

void Editor::saveToFile(const std::filesystem::path& path) const {
    writeFileBytes(path, text());
}

void Editor::applyBoldAndColour(const std::vector<Range>& bold, const std::vector<Range>& coloured,
                                Rgb colour) {
    applyBold(bold);
    applyColour(coloured, colour);
}

bool Editor::showLine(int line) {
    const long start = lineStart(line);
    if (start < 0)
        return false;
    setSelectionStart(start);
    setSelectionLength(static_cast<long>(this->line(line).size()));
    return true;
}

long Editor::find(std::string_view what, long start, long len) const {
    return findNoCase(text(), what, start, len);
}

} // namespace talmo
