// SPDX-License-Identifier: GPL-3.0-or-later
#include "Text.h"

#include "FileError.h"
#include "InputFile.h"
#include "PathBytes.h"

#include <array>

namespace talmo {

std::string normalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

LineBreakStyle lineBreakStyleOf(std::string_view bytes) {
    std::size_t crlf = 0, lf = 0, cr = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++lf;
        } else if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        }
    }
    LineBreakStyle style;
    if (lf > crlf && lf >= cr)
        style.kind = LineBreak::Lf;
    else if (cr > crlf && cr > lf)
        style.kind = LineBreak::Cr;
    style.mixed = (crlf > 0) + (lf > 0) + (cr > 0) > 1;
    return style;
}

std::string withLineBreaks(std::string_view text, LineBreak kind) {
    const std::string_view brk = kind == LineBreak::CrLf ? "\r\n"
                                 : kind == LineBreak::Lf ? "\n"
                                                         : "\r";
    std::string out;
    out.reserve(text.size() + (kind == LineBreak::CrLf ? text.size() / 32 : 0));
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        out.append(text.substr(from, i - from));
        out.append(brk);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        from = i + 1;
    }
    out.append(text.substr(from));
    return out;
}

const char* lineBreakName(LineBreak kind) {
    switch (kind) {
    case LineBreak::Lf:
        return "LF";
    case LineBreak::Cr:
        return "CR";
    case LineBreak::CrLf:
        break;
    }
    return "CR LF";
}

std::string crlfToLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

namespace {

std::array<unsigned char, 256> makeFoldTable() {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[c] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = static_cast<unsigned char>(c + 32);
    // Windows-1252 letters: Š Œ Ž, Ÿ, and the Latin-1 capitals but the sign ×.
    t[0x8A] = 0x9A;
    t[0x8C] = 0x9C;
    t[0x8E] = 0x9E;
    t[0x9F] = 0xFF;
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            t[c] = static_cast<unsigned char>(c + 32);
    return t;
}

const std::array<unsigned char, 256> kFold = makeFoldTable();

} // namespace

unsigned char foldCase(unsigned char c) {
    return kFold[c];
}

long findNoCase(std::string_view text, std::string_view what, long start, long len) {
    if (what.empty() || start < 0)
        return -1;
    const long size = static_cast<long>(text.size());
    const long n = static_cast<long>(what.size());
    long end = size;
    if (len < size - start)
        end = start + len;
    const long lastBegin = end - n;
    if (lastBegin < start)
        return -1;
    const unsigned char* hay = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* needle = reinterpret_cast<const unsigned char*>(what.data());
    const unsigned char first = kFold[needle[0]];
    for (long p = start; p <= lastBegin; ++p) {
        if (kFold[hay[p]] != first)
            continue;
        long k = 1;
        while (k < n && kFold[hay[p + k]] == kFold[needle[k]])
            ++k;
        if (k == n)
            return p;
    }
    return -1;
}

std::string joinCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::string readFileBytes(const std::filesystem::path& path) {
    std::string bytes;
    readFileBytesInto(path, bytes);
    return bytes;
}

void readFileBytesInto(const std::filesystem::path& path, std::string& bytes, std::uint64_t limit) {
    InputFile file(path);
    const auto tooBig = [&] {
        return FileError("Cannot read \"" + pathBytes(path) + "\": more than " +
                         std::to_string(limit) + " bytes");
    };
    if (file.size() > limit)
        throw tooBig();
    // One byte past the size seen at opening tells the end from growth; a
    // file that grows while it is read doubles the room.
    bytes.resize(static_cast<std::size_t>(file.size()) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() * 2);
        const std::size_t n = file.read(bytes.data() + got, bytes.size() - got);
        if (n == 0)
            break;
        got += n;
        if (got > limit)
            throw tooBig();
    }
    bytes.resize(got);
}

} // namespace talmo
