// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis_reference.h"

namespace talmo::reference {

void syntaxColor(TextModel& editor) {
    const long len = editor.length();
    for (const char* k : {"void", "string", "float", "local", "vector", "entity"}) {
        long p = editor.find(k, 0, len);
        while (p >= 0) {
            editor.setSelectionStart(p);
            editor.setSelectionLength(static_cast<long>(std::string_view(k).size()));
            editor.setSelectionBold(true);
            p = editor.find(k, p + editor.selectionLength(), len);
        }
    }
    long a = editor.find("/*", 0, len);
    long b = a >= 0 ? editor.find("*/", a, len) : -1;
    while (a >= 0 && b >= 0) {
        editor.setSelectionStart(a);
        editor.setSelectionLength(b - a + 2);
        editor.setSelectionColour(kGreen);
        a = editor.find("/*", b, len);
        if (a >= 0)
            b = editor.find("*/", a, len);
    }
    long s = editor.find("//", 0, len);
    long e = s >= 0 ? editor.find("\r", s, len) : -1;
    while (s >= 0 && e >= 0) {
        editor.setSelectionStart(s);
        editor.setSelectionLength(e - s);
        editor.setSelectionColour(kGreen);
        s = editor.find("//", e, len);
        if (s >= 0)
            e = editor.find("\r", s, len);
    }
}

bool findNext(Editor& editor, std::string_view what) {
    const long start = editor.selectionStart() + editor.selectionLength() + 1;
    long n = editor.length() - start;
    if (n < 0)
        n = 0;
    const long c = editor.find(what, start, n);
    if (c < 0)
        return false;
    editor.setFocus();
    editor.setSelectionStart(c);
    editor.setSelectionLength(static_cast<long>(what.size()));
    return true;
}

bool colorize(TextModel& editor, std::string_view search, Rgb colour) {
    const long len = editor.length();
    bool found = false;
    long p = editor.find(search, 0, len);
    while (p >= 0) {
        editor.setSelectionStart(p);
        editor.setSelectionLength(static_cast<long>(search.size()));
        editor.setSelectionColour(colour);
        found = true;
        p = editor.find(search, p + editor.selectionLength(), len);
    }
    return found;
}

bool searchAndReplace(TextModel& editor, std::string_view search, std::string_view replacement) {
    const long len = editor.length();
    bool found = false;
    long p = editor.find(search, 0, len);
    while (p >= 0) {
        editor.setSelectionStart(p);
        editor.setSelectionLength(static_cast<long>(search.size()));
        editor.setSelectionColour(kBlue);
        editor.replaceSelection(replacement);
        found = true;
        p = editor.find(search, p + static_cast<long>(replacement.size()), len);
    }
    return found;
}

std::vector<std::string> buildFunctionIndex(const Editor& editor) {
    static const char* const tests[] = {"void",    "float(",   "float (",   "float\t(", "float  (",
                                        "entity(", "entity (", "entity  (", "string (", "string("};
    std::vector<std::string> entries;
    for (const std::string& line : editor.lines()) {
        for (const char* t : tests) {
            if (line.find(t) == std::string::npos)
                continue;
            const std::size_t eq = line.find('=');
            if (eq != std::string::npos) {
                std::string entry;
                for (char c : line.substr(0, eq + 1))
                    if (c != '\r')
                        entry += c;
                entries.push_back(entry);
            }
            break;
        }
    }
    return entries;
}

namespace {

// 1-based position of the first occurrence, 0 when absent.
std::size_t pos(const std::string& what, const std::string& in) {
    const std::size_t p = in.find(what);
    return p == std::string::npos ? 0 : p + 1;
}

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

} // namespace

bool testFunctionLine(const std::string& line, const std::string& source,
                      std::vector<std::string>& entries) {
    const std::size_t e = pos("=", line);
    const std::size_t d = pos("==", line);
    if (e == d)
        return false;
    const std::string h = line.substr(0, e);
    if (pos(")", h) == 0)
        return false;
    if (pos("void", h) == 0 && pos("string", h) == 0 && pos("float", h) == 0 &&
        pos("vector", h) == 0 && pos("entity", h) == 0)
        return false;
    entries.push_back(source + " - " + trim(h));
    return true;
}

bool testAttributeLine(const std::string& line, const std::string& source,
                       std::vector<std::string>& entries) {
    if (pos(".", line) == 0)
        return false;
    const std::string t = trim(line);
    const std::size_t s = pos(";", t);
    if (s == 0 || s <= pos(".", t))
        return false;
    if (pos(".void", t) == 0 && pos(".string", t) == 0 && pos(".float", t) == 0 &&
        pos(".vector", t) == 0 && pos(".entity", t) == 0)
        return false;
    entries.push_back(source + " - " + t.substr(0, s));
    return true;
}

std::vector<std::string> fileLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            if (!current.empty() && current.back() == '\r')
                current.pop_back();
            lines.push_back(current);
            current.clear();
            pending = false;
        } else {
            current += bytes[i];
            pending = true;
        }
    }
    if (pending)
        lines.push_back(current);
    return lines;
}

} // namespace talmo::reference
