// SPDX-License-Identifier: GPL-3.0-or-later
#include "QsciEditor.h"
#include "QsciProgramEdit.h"
#include "QsciView.h"

#include "Text.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace talmo {

namespace {

constexpr long kAllStyleBits = 0xFF;

} // namespace

QsciEditor::QsciEditor(QsciView& view) : QObject(&view), m_view(view) {}

std::string QsciEditor::text() const {
    return std::string(m_view.bytes());
}

long QsciEditor::length() const {
    return m_view.bufferLength();
}

int QsciEditor::lineCount() const {
    const long n = length();
    if (n == 0)
        return 0;
    const long lines = m_view.SendScintilla(QsciView::SCI_GETLINECOUNT);
    // Scintilla counts the empty line after a final line break.
    const long lastStart =
        m_view.SendScintilla(QsciView::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lines - 1));
    return static_cast<int>(lastStart >= n ? lines - 1 : lines);
}

std::string QsciEditor::textRange(long start, long len) const {
    return std::string(clippedRange(m_view.bytes(), start, len));
}

std::string QsciEditor::line(int i) const {
    if (i < 0 || i >= lineCount())
        return {};
    const long begin =
        m_view.SendScintilla(QsciView::SCI_POSITIONFROMLINE, static_cast<unsigned long>(i));
    const long end =
        m_view.SendScintilla(QsciView::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(i));
    return std::string(m_view.bytes().substr(static_cast<std::size_t>(begin),
                                             static_cast<std::size_t>(end - begin)));
}

long QsciEditor::lineStart(int i) const {
    // Scintilla answers a negative line with the caret's, and one more line
    // past a final line break with the end.
    const int lines = lineCount();
    if (i < 0 || i > lines)
        return -1;
    if (i == lines)
        return length();
    return m_view.SendScintilla(QsciView::SCI_POSITIONFROMLINE, static_cast<unsigned long>(i));
}

std::vector<std::string> QsciEditor::lines() const {
    const std::string_view all = m_view.bytes();
    const int n = lineCount();
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const long begin =
            m_view.SendScintilla(QsciView::SCI_POSITIONFROMLINE, static_cast<unsigned long>(i));
        const long end =
            m_view.SendScintilla(QsciView::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(i));
        out.emplace_back(
            all.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
    }
    return out;
}

void QsciEditor::insertLineAtStart(std::string_view text) {
    const std::string line = normalizeLineBreaks(text) + "\r\n";
    const int style = length() > 0 ? m_view.styleAt(0) : 0;
    const long start = selectionStart();
    const long len = selectionLength();
    QsciView::ProgramEdit edit(m_view);
    m_view.replaceRange(0, 0, line);
    m_view.writeStyles(0, std::vector<std::uint8_t>(line.size(), static_cast<std::uint8_t>(style)));
    // A caret at the very start stays there; anything else moves with its text.
    const long shift = start > 0 || len > 0 ? static_cast<long>(line.size()) : 0;
    m_view.setSelectionQuietly(start + shift, start + shift + len);
}

void QsciEditor::setText(std::string_view bytes) {
    const std::string text = normalizeLineBreaks(bytes);
    QsciView::ProgramEdit edit(m_view);
    m_view.SendScintilla(QsciView::SCI_SETUNDOCOLLECTION, 0UL);
    m_view.SendScintilla(QsciView::SCI_CLEARALL);
    if (!text.empty())
        m_view.SendScintilla(QsciView::SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()),
                             text.data());
    m_view.SendScintilla(QsciView::SCI_STARTSTYLING, 0UL, kAllStyleBits);
    m_view.SendScintilla(QsciView::SCI_SETSTYLING, static_cast<unsigned long>(text.size()), 0L);
    m_view.SendScintilla(QsciView::SCI_SETUNDOCOLLECTION, 1UL);
    m_view.SendScintilla(QsciView::SCI_EMPTYUNDOBUFFER);
    m_view.SendScintilla(QsciView::SCI_SETSAVEPOINT);
    m_view.SendScintilla(QsciView::SCI_GOTOPOS, 0UL);
    m_view.forgetTyping();
}

long QsciEditor::selectionStart() const {
    return m_view.selectionStart();
}

long QsciEditor::selectionLength() const {
    return m_view.selectionLength();
}

void QsciEditor::setSelectionStart(long pos) {
    m_view.SendScintilla(QsciView::SCI_GOTOPOS,
                         static_cast<unsigned long>(std::clamp(pos, 0L, length())));
    m_view.setPendingFormat(std::nullopt);
}

void QsciEditor::setSelectionLength(long len) {
    const long start = selectionStart();
    const long end = start + std::clamp(len, 0L, length() - start);
    m_view.setSelectionQuietly(start, end);
    m_view.SendScintilla(QsciView::SCI_SCROLLRANGE, static_cast<unsigned long>(start), end);
}

bool QsciEditor::showLine(int line) {
    // A third down the view, unless it shows well already.
    if (!Editor::showLine(line))
        return false;
    m_view.scrollLineIntoView(line);
    return true;
}

int QsciEditor::caretLine() const {
    return static_cast<int>(m_view.SendScintilla(
        QsciView::SCI_LINEFROMPOSITION,
        static_cast<unsigned long>(m_view.SendScintilla(QsciView::SCI_GETSELECTIONEND))));
}

// ---- formats ----

CharFormat QsciEditor::formatAt(long pos) const {
    if (pos < 0 || pos >= length())
        return m_view.formatOfStyle(0);
    return m_view.formatOfStyle(m_view.styleAt(pos));
}

void QsciEditor::restyle(std::initializer_list<StylePass> passes) {
    const long n = length();
    long lo = n;
    long hi = 0;
    for (const StylePass& pass : passes)
        for (const Range& r : pass.ranges) {
            const long b = std::max(0L, r.start);
            const long e = std::min(n, r.start + r.length);
            if (b < e) {
                lo = std::min(lo, b);
                hi = std::max(hi, e);
            }
        }
    if (lo >= hi)
        return;
    // One read and one write of the styles, however many passes and ranges.
    std::vector<std::uint8_t> styles = m_view.readStyles(lo, hi);
    for (const StylePass& pass : passes) {
        std::array<int, 256> changed;
        changed.fill(-1);
        for (const Range& r : pass.ranges) {
            const long b = std::max(lo, r.start);
            const long e = std::min(hi, r.start + r.length);
            for (long p = b; p < e; ++p) {
                std::uint8_t& s = styles[static_cast<std::size_t>(p - lo)];
                int& to = changed[s];
                if (to < 0) {
                    CharFormat f = m_view.formatOfStyle(s);
                    pass.change(f);
                    to = m_view.styleFor(f);
                }
                s = static_cast<std::uint8_t>(to);
            }
        }
    }
    m_view.writeStyles(lo, styles);
}

void QsciEditor::setSelectionColour(Rgb colour) {
    const long len = selectionLength();
    if (len == 0) {
        CharFormat f = m_view.pendingFormat().value_or(formatAt(selectionStart() - 1));
        f.colour = colour;
        m_view.styleFor(f); // allocated now, so that typing cannot run out of styles
        m_view.setPendingFormat(f);
        return;
    }
    const std::vector<Range> selection{Range{selectionStart(), len}};
    restyle({{selection, [colour](CharFormat& f) { f.colour = colour; }}});
}

void QsciEditor::setDefaultColour(Rgb colour) {
    m_view.setDefaultColour(colour);
}

void QsciEditor::applyColour(const std::vector<Range>& ranges, Rgb colour) {
    restyle({{ranges, [colour](CharFormat& f) { f.colour = colour; }}});
}

void QsciEditor::applyBold(const std::vector<Range>& ranges) {
    restyle({{ranges, [](CharFormat& f) { f.bold = true; }}});
}

void QsciEditor::applyBoldAndColour(const std::vector<Range>& bold,
                                    const std::vector<Range>& coloured, Rgb colour) {
    restyle({{bold, [](CharFormat& f) { f.bold = true; }},
             {coloured, [colour](CharFormat& f) { f.colour = colour; }}});
}

void QsciEditor::applyEdits(const std::vector<Edit>& edits) {
    if (edits.empty())
        return;
    const long n = length();
    long copied = 0;
    for (const Edit& e : edits) {
        if (e.start < copied || e.length < 0 || e.start + e.length > n)
            throw std::invalid_argument("edits must be sorted and inside the text");
        copied = e.start + e.length;
    }
    // Only the span from the first to the last edit is rebuilt and replaced.
    const long lo = edits.front().start;
    const long hi = edits.back().start + edits.back().length;
    const std::string_view old = m_view.bytes();
    const std::vector<std::uint8_t> oldStyles = m_view.readStyles(lo, hi);
    // Sized exactly: growing past a guess copies the whole span again.
    std::size_t size = static_cast<std::size_t>(hi - lo);
    for (const Edit& e : edits)
        size = size + e.text.size() - static_cast<std::size_t>(e.length);
    std::string text;
    std::vector<std::uint8_t> styles;
    text.reserve(size);
    styles.reserve(size);
    copied = lo;
    for (const Edit& e : edits) {
        text.append(old.substr(static_cast<std::size_t>(copied),
                               static_cast<std::size_t>(e.start - copied)));
        styles.insert(styles.end(), oldStyles.begin() + (copied - lo),
                      oldStyles.begin() + (e.start - lo));
        text += e.text;
        styles.insert(styles.end(), e.text.size(),
                      static_cast<std::uint8_t>(m_view.styleFor(e.format)));
        copied = e.start + e.length;
    }

    const long selStart = selectionStart();
    const long selLength = selectionLength();
    QsciView::ProgramEdit edit(m_view);
    m_view.replaceRange(lo, hi - lo, text);
    m_view.writeStyles(lo, styles);
    const long newLength = length();
    const long start = std::min(selStart, newLength);
    m_view.setSelectionQuietly(start, start + std::min(selLength, newLength - start));
}

long QsciEditor::find(std::string_view what, long start, long len) const {
    return findNoCase(m_view.bytes(), what, start, len);
}

// ---- the view's own ----

void QsciEditor::setFocus() {
    m_view.setFocus();
}

void QsciEditor::cut() {
    m_view.cut();
}

void QsciEditor::copy() {
    m_view.copy();
}

void QsciEditor::paste() {
    m_view.paste();
}

} // namespace talmo
