// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextModel.h"

#include "Text.h"

#include <algorithm>
#include <stdexcept>

namespace talmo {

TextModel::TextModel() : m_formats{CharFormat{kBlack, false}} {}

int TextModel::lineCount() const {
    if (m_text.empty())
        return 0;
    int breaks = 0;
    for (char c : m_text)
        if (c == '\n')
            ++breaks;
    const bool endsWithBreak = m_text.back() == '\n';
    return endsWithBreak ? breaks : breaks + 1;
}

std::string TextModel::textRange(long start, long len) const {
    return std::string(clippedRange(m_text, start, len));
}

std::string TextModel::line(int i) const {
    if (i < 0)
        return {};
    std::size_t begin = 0;
    for (int k = 0; k < i; ++k) {
        const std::size_t lf = m_text.find('\n', begin);
        if (lf == std::string::npos)
            return {};
        begin = lf + 1;
    }
    if (begin >= m_text.size())
        return {};
    std::size_t end = m_text.find("\r\n", begin);
    if (end == std::string::npos)
        end = m_text.size();
    return m_text.substr(begin, end - begin);
}

long TextModel::lineStart(int i) const {
    const int lines = lineCount();
    if (i < 0 || i > lines)
        return -1;
    if (i == lines)
        return length();
    std::size_t begin = 0;
    for (int k = 0; k < i; ++k) {
        const std::size_t lf = m_text.find('\n', begin);
        if (lf == std::string::npos)
            return -1;
        begin = lf + 1;
    }
    return static_cast<long>(begin);
}

std::vector<std::string> TextModel::lines() const {
    std::vector<std::string> out;
    std::size_t begin = 0;
    while (begin < m_text.size()) {
        std::size_t end = m_text.find("\r\n", begin);
        if (end == std::string::npos) {
            out.push_back(m_text.substr(begin));
            break;
        }
        out.push_back(m_text.substr(begin, end - begin));
        begin = end + 2;
    }
    return out;
}

void TextModel::insertAt(long pos, std::string_view text, std::uint8_t style) {
    m_text.insert(static_cast<std::size_t>(pos), text);
    m_styles.insert(m_styles.begin() + pos, text.size(), style);
}

void TextModel::insertLineAtStart(std::string_view text) {
    const std::uint8_t style = m_styles.empty() ? 0 : m_styles[0];
    const std::string line = normalizeLineBreaks(text) + "\r\n";
    insertAt(0, line, style);
    if (m_selStart > 0 || m_selLength > 0)
        m_selStart += static_cast<long>(line.size());
}

void TextModel::setText(std::string_view bytes) {
    m_text = normalizeLineBreaks(bytes);
    m_styles.assign(m_text.size(), 0);
    m_selStart = 0;
    m_selLength = 0;
    m_pending.reset();
}

void TextModel::setSelectionStart(long pos) {
    m_selStart = std::clamp(pos, 0L, length());
    m_selLength = 0;
    m_pending.reset();
}

void TextModel::setSelectionLength(long len) {
    m_selLength = std::clamp(len, 0L, length() - m_selStart);
    ++m_scrolls;
}

void TextModel::replaceSelection(std::string_view text) {
    std::uint8_t style = 0;
    if (m_selLength > 0)
        style = m_styles[static_cast<std::size_t>(m_selStart)];
    else if (m_pending)
        style = styleFor(*m_pending);
    else if (m_selStart > 0)
        style = m_styles[static_cast<std::size_t>(m_selStart - 1)];
    m_text.erase(static_cast<std::size_t>(m_selStart), static_cast<std::size_t>(m_selLength));
    m_styles.erase(m_styles.begin() + m_selStart, m_styles.begin() + m_selStart + m_selLength);
    insertAt(m_selStart, text, style);
    m_selStart += static_cast<long>(text.size());
    m_selLength = 0;
    m_pending.reset();
}

int TextModel::caretLine() const {
    const long end = m_selStart + m_selLength;
    int line = 0;
    for (long p = 0; p < end && p < length(); ++p)
        if (m_text[static_cast<std::size_t>(p)] == '\n')
            ++line;
    return line;
}

CharFormat TextModel::formatAt(long pos) const {
    if (pos < 0 || pos >= length())
        return m_formats[0];
    return m_formats[m_styles[static_cast<std::size_t>(pos)]];
}

std::uint8_t TextModel::styleFor(CharFormat format) {
    for (std::size_t i = 1; i < m_formats.size(); ++i)
        if (m_formats[i] == format)
            return static_cast<std::uint8_t>(i);
    if (m_formats.size() >= 256)
        throw std::length_error("too many character formats");
    m_formats.push_back(format);
    return static_cast<std::uint8_t>(m_formats.size() - 1);
}

void TextModel::setSelectionColour(Rgb colour) {
    if (m_selLength == 0) {
        CharFormat f = m_pending.value_or(formatAt(m_selStart - 1));
        f.colour = colour;
        m_pending = f;
        return;
    }
    applyColour({Range{m_selStart, m_selLength}}, colour);
}

void TextModel::setSelectionBold(bool bold) {
    if (m_selLength == 0) {
        CharFormat f = m_pending.value_or(formatAt(m_selStart - 1));
        f.bold = bold;
        m_pending = f;
        return;
    }
    for (long p = m_selStart; p < m_selStart + m_selLength; ++p) {
        CharFormat f = formatAt(p);
        f.bold = bold;
        m_styles[static_cast<std::size_t>(p)] = styleFor(f);
    }
}

void TextModel::applyColour(const std::vector<Range>& ranges, Rgb colour) {
    for (const Range& r : ranges)
        for (long p = std::max(0L, r.start); p < std::min(length(), r.start + r.length); ++p) {
            CharFormat f = formatAt(p);
            f.colour = colour;
            m_styles[static_cast<std::size_t>(p)] = styleFor(f);
        }
}

void TextModel::applyBold(const std::vector<Range>& ranges) {
    for (const Range& r : ranges)
        for (long p = std::max(0L, r.start); p < std::min(length(), r.start + r.length); ++p) {
            CharFormat f = formatAt(p);
            f.bold = true;
            m_styles[static_cast<std::size_t>(p)] = styleFor(f);
        }
}

void TextModel::applyEdits(const std::vector<Edit>& edits) {
    std::string text;
    std::vector<std::uint8_t> styles;
    text.reserve(m_text.size());
    styles.reserve(m_styles.size());
    long copied = 0;
    for (const Edit& e : edits) {
        if (e.start < copied || e.start + e.length > length())
            throw std::invalid_argument("edits must be sorted and inside the text");
        text.append(m_text, static_cast<std::size_t>(copied),
                    static_cast<std::size_t>(e.start - copied));
        styles.insert(styles.end(), m_styles.begin() + copied, m_styles.begin() + e.start);
        text += e.text;
        styles.insert(styles.end(), e.text.size(), styleFor(e.format));
        copied = e.start + e.length;
    }
    text.append(m_text, static_cast<std::size_t>(copied));
    styles.insert(styles.end(), m_styles.begin() + copied, m_styles.end());
    m_text = std::move(text);
    m_styles = std::move(styles);
    m_selStart = std::min(m_selStart, length());
    m_selLength = std::min(m_selLength, length() - m_selStart);
}

long TextModel::find(std::string_view what, long start, long len) const {
    return findNoCase(m_text, what, start, len);
}

void TextModel::typeText(std::string_view text) {
    if (m_readOnly)
        return;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        // CR LF is one Enter, as a pasted or scripted line break would be typed.
        if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        // Enter types character 13 whichever break the text holds.
        const char typed = ch == '\n' ? '\r' : ch;
        if (m_events.keyDown)
            m_events.keyDown(static_cast<unsigned char>(typed));
        if (m_events.keyPress)
            m_events.keyPress(typed);
        const std::string piece =
            ch == '\r' || ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        if (m_selLength > 0) {
            const std::uint8_t style =
                m_pending ? styleFor(*m_pending) : m_styles[static_cast<std::size_t>(m_selStart)];
            m_text.erase(static_cast<std::size_t>(m_selStart),
                         static_cast<std::size_t>(m_selLength));
            m_styles.erase(m_styles.begin() + m_selStart,
                           m_styles.begin() + m_selStart + m_selLength);
            m_selLength = 0;
            insertAt(m_selStart, piece, style);
        } else {
            const std::uint8_t style = m_pending ? styleFor(*m_pending)
                                       : m_selStart > 0
                                           ? m_styles[static_cast<std::size_t>(m_selStart - 1)]
                                           : std::uint8_t{0};
            insertAt(m_selStart, piece, style);
        }
        m_selStart += static_cast<long>(piece.size());
    }
}

void TextModel::cut() {
    copy();
    if (m_selLength > 0 && !m_readOnly)
        replaceSelection({});
}

void TextModel::copy() {
    if (m_selLength > 0)
        m_clipboard = m_text.substr(static_cast<std::size_t>(m_selStart),
                                    static_cast<std::size_t>(m_selLength));
}

void TextModel::paste() {
    if (!m_readOnly)
        replaceSelection(normalizeLineBreaks(m_clipboard));
}

} // namespace talmo
