// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded generators of QuakeC-like text for the analysis tests and
// benchmarks: all text is made up here, none comes from a real mod.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace talmo::testgen {

// A short text dense in the things the analysis looks for: keywords in any
// case and inside words, comment markers in odd arrangements, strings,
// "==", "<=", "!=", ";", ".", CR LF and bare LF.
inline std::string randomSnippet(std::mt19937& rng, std::size_t tokens) {
    static const std::vector<std::string> pieces = {"void",
                                                    "Void",
                                                    "VOID",
                                                    "avoid",
                                                    "string",
                                                    "substring",
                                                    "String",
                                                    "float",
                                                    "floating",
                                                    "FLOAT",
                                                    "local",
                                                    "locals",
                                                    "localocal",
                                                    "vector",
                                                    "Vector",
                                                    "entity",
                                                    "Entity",
                                                    "ENTITY",
                                                    "/*",
                                                    "*/",
                                                    "/*/",
                                                    "//",
                                                    "/",
                                                    "*",
                                                    "\r\n",
                                                    "\n",
                                                    "\r\n",
                                                    "\n",
                                                    "\"str // x\"",
                                                    "\"void\"",
                                                    "==",
                                                    "<=",
                                                    "!=",
                                                    "=",
                                                    ";",
                                                    ".",
                                                    ".float",
                                                    ".entity",
                                                    "(",
                                                    ")",
                                                    " ",
                                                    "  ",
                                                    "\t",
                                                    "self",
                                                    "x",
                                                    "ab",
                                                    "b",
                                                    "main",
                                                    "#1",
                                                    "float(",
                                                    "entity (",
                                                    "string(",
                                                    "{",
                                                    "}"};
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::string out;
    for (std::size_t i = 0; i < tokens; ++i)
        out += pieces[pick(rng)];
    return out;
}

// A plausible QuakeC source of about `bytes` bytes (about 31 bytes a line):
// function bodies, prototypes, built-ins, fields, globals, comments, and
// keywords inside longer words. Line breaks are CR LF.
inline std::string quakeCSource(std::size_t bytes, unsigned seed = 1) {
    std::mt19937 rng(seed);
    static const char* const types[] = {"void", "float", "entity", "vector", "string"};
    static const char* const words[] = {"th_pain",   "avoid_wall", "floater",      "string_null",
                                        "health",    "origin",     "velocity",     "think",
                                        "nextthink", "enemy",      "locals_count", "vectorize"};
    auto word = [&] { return std::string(words[rng() % 12]) + std::to_string(rng() % 100); };
    auto type = [&] { return std::string(types[rng() % 5]); };
    std::string out;
    out.reserve(bytes + 256);
    while (out.size() < bytes) {
        switch (rng() % 10) {
        case 0:
            out += "/* " + word() + " keeps the " + type() + " of the\r\n   " + word() + " */\r\n";
            break;
        case 1:
            out += "." + type() + " " + word() + "; // field\r\n";
            break;
        case 2:
            out += type() + "(entity e, float f) " + word() + " = #" + std::to_string(rng() % 90) +
                   ";\r\n";
            break;
        case 3:
            out += "void() " + word() + ";\r\n";
            break;
        default: {
            out += type() + "() " + word() + " =\r\n{\r\n";
            out += "\tlocal " + type() + " " + word() + ", " + word() + ";\r\n";
            out += "\tif (self." + word() + " == " + word() + ")\r\n";
            out += "\t\tself." + word() + " = " + word() + "(self); // " + word() + "\r\n";
            out += "\tdprint(\"" + word() + " // not a comment\\n\");\r\n";
            out += "\t" + word() + " = " + word() + " * " + word() + " + " + word() + ";\r\n";
            out += "};\r\n";
            break;
        }
        }
    }
    return out;
}

} // namespace talmo::testgen
