// SPDX-License-Identifier: GPL-3.0-or-later
#include "QsciEditor.h"
#include "QsciProgramEdit.h"

#include "Text.h"

#include <QFontDatabase>

#include <algorithm>
#include <stdexcept>

namespace talmo {

namespace {

constexpr long kWhite = 0xFFFFFF;
constexpr unsigned kAllStyleBits = 0xFF;

// Scintilla colours are 0xBBGGRR.
long toBgr(Rgb c) {
    return long{c.r} | (long{c.g} << 8) | (long{c.b} << 16);
}

std::uint32_t key(Rgb c) {
    return std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b;
}

} // namespace

QsciEditor::QsciEditor(QWidget* parent) : QsciScintilla(parent) {
    SendScintilla(SCI_SETCODEPAGE, 0UL);
    // Container lexing with no container styler: nothing restyles our text.
    SendScintilla(SCI_SETLEXER, static_cast<unsigned long>(SCLEX_CONTAINER));
    SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(SC_EOL_CRLF));
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1UL);
    for (int m = 0; m < 5; ++m)
        setMarginWidth(m, 0);
    setFrameShape(QFrame::NoFrame);

    m_font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_formats[0] = CharFormat{kBlack, false};
    m_allocated[0] = true;
    defineStyle(STYLE_DEFAULT, m_formats[0]);
    SendScintilla(SCI_STYLECLEARALL);
    defineStyle(0, m_formats[0]);

    defineLineMarks();
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this, &QsciEditor::onModified);
}

std::string_view QsciEditor::bytes() const {
    const long n = SendScintilla(SCI_GETLENGTH);
    if (n <= 0)
        return {};
    const auto* p = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return {p, static_cast<std::size_t>(n)};
}

std::string QsciEditor::text() const {
    return std::string(bytes());
}

long QsciEditor::length() const {
    return SendScintilla(SCI_GETLENGTH);
}

int QsciEditor::lineCount() const {
    const long n = length();
    if (n == 0)
        return 0;
    const long lines = SendScintilla(SCI_GETLINECOUNT);
    // Scintilla counts the empty line after a final line break.
    const long lastStart =
        SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(lines - 1));
    return static_cast<int>(lastStart >= n ? lines - 1 : lines);
}

std::string QsciEditor::textRange(long start, long len) const {
    return std::string(clippedRange(bytes(), start, len));
}

std::string QsciEditor::line(int i) const {
    if (i < 0 || i >= lineCount())
        return {};
    const long begin = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(i));
    const long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(i));
    return std::string(
        bytes().substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
}

std::vector<std::string> QsciEditor::lines() const {
    const std::string_view all = bytes();
    const int n = lineCount();
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const long begin = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(i));
        const long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(i));
        out.emplace_back(
            all.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
    }
    return out;
}

void QsciEditor::replaceRange(long start, long len, std::string_view text) {
    SendScintilla(SCI_SETTARGETSTART, static_cast<unsigned long>(start));
    SendScintilla(SCI_SETTARGETEND, static_cast<unsigned long>(start + len));
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()),
                  text.empty() ? "" : text.data());
}

void QsciEditor::setSelectionQuietly(long start, long end) {
    SendScintilla(SCI_SETANCHOR, static_cast<unsigned long>(start));
    SendScintilla(SCI_SETCURRENTPOS, static_cast<unsigned long>(end));
}

void QsciEditor::insertLineAtStart(std::string_view text) {
    const std::string line = normalizeLineBreaks(text) + "\r\n";
    const int style = length() > 0 ? styleAt(0) : 0;
    const long start = selectionStart();
    const long len = selectionLength();
    ProgramEdit edit(*this);
    replaceRange(0, 0, line);
    writeStyles(0, std::vector<std::uint8_t>(line.size(), static_cast<std::uint8_t>(style)));
    // A caret at the very start stays there; anything else moves with its text.
    const long shift = start > 0 || len > 0 ? static_cast<long>(line.size()) : 0;
    setSelectionQuietly(start + shift, start + shift + len);
}

void QsciEditor::setText(std::string_view bytes) {
    const std::string text = normalizeLineBreaks(bytes);
    ProgramEdit edit(*this);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_CLEARALL);
    if (!text.empty())
        SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
    SendScintilla(SCI_STARTSTYLING, 0UL, static_cast<long>(kAllStyleBits));
    SendScintilla(SCI_SETSTYLING, static_cast<unsigned long>(text.size()), 0L);
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0UL);
    m_pending.reset();
    // Scintilla forgets a composition shown in the text just replaced.
    m_composing = false;
    m_composedOver.reset();
}

long QsciEditor::selectionStart() const {
    return SendScintilla(SCI_GETSELECTIONSTART);
}

long QsciEditor::selectionLength() const {
    return SendScintilla(SCI_GETSELECTIONEND) - SendScintilla(SCI_GETSELECTIONSTART);
}

void QsciEditor::setSelectionStart(long pos) {
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(std::clamp(pos, 0L, length())));
    m_pending.reset();
}

void QsciEditor::setSelectionLength(long len) {
    const long start = selectionStart();
    const long end = start + std::clamp(len, 0L, length() - start);
    setSelectionQuietly(start, end);
    SendScintilla(SCI_SCROLLRANGE, static_cast<unsigned long>(start), end);
}

void QsciEditor::replaceSelection(std::string_view text) {
    const long start = selectionStart();
    const long len = selectionLength();
    int style = 0;
    if (len > 0)
        style = styleAt(start);
    else if (m_pending)
        style = styleFor(*m_pending);
    else if (start > 0)
        style = styleAt(start - 1);
    ProgramEdit edit(*this);
    replaceRange(start, len, text);
    writeStyles(start, std::vector<std::uint8_t>(text.size(), static_cast<std::uint8_t>(style)));
    const long caret = start + static_cast<long>(text.size());
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(caret));
    m_pending.reset();
}

int QsciEditor::caretLine() const {
    return static_cast<int>(SendScintilla(
        SCI_LINEFROMPOSITION, static_cast<unsigned long>(SendScintilla(SCI_GETSELECTIONEND))));
}

// ---- formats ----

void QsciEditor::defineStyle(int style, CharFormat format) {
    const auto s = static_cast<unsigned long>(style);
    const QByteArray family = m_font.family().toUtf8();
    SendScintilla(SCI_STYLESETFONT, static_cast<uintptr_t>(s), family.constData());
    const qreal points = m_font.pointSizeF() > 0 ? m_font.pointSizeF() : 9.0;
    SendScintilla(SCI_STYLESETSIZEFRACTIONAL, s,
                  static_cast<long>(points * int{SC_FONT_SIZE_MULTIPLIER}));
    SendScintilla(SCI_STYLESETFORE, s, toBgr(format.colour));
    SendScintilla(SCI_STYLESETBACK, s, kWhite);
    SendScintilla(SCI_STYLESETBOLD, s, format.bold ? 1L : 0L);
    SendScintilla(SCI_STYLESETITALIC, s, 0L);
    SendScintilla(SCI_STYLESETUNDERLINE, s, 0L);
}

int QsciEditor::styleFor(CharFormat format) {
    const auto found = m_styleOf.find({key(format.colour), format.bold});
    if (found != m_styleOf.end())
        return found->second;
    // 32..39 are Scintilla's own styles (default, line numbers, braces...).
    int style = 1;
    while (style < 256 &&
           (m_allocated[static_cast<std::size_t>(style)] || (style >= 32 && style <= 39)))
        ++style;
    if (style >= 256)
        throw std::length_error("too many character formats");
    m_allocated[static_cast<std::size_t>(style)] = true;
    m_formats[static_cast<std::size_t>(style)] = format;
    m_styleOf.emplace(std::pair{key(format.colour), format.bold}, style);
    defineStyle(style, format);
    return style;
}

CharFormat QsciEditor::formatOfStyle(int style) const {
    if (style < 0 || style > 255 || !m_allocated[static_cast<std::size_t>(style)])
        return m_formats[0];
    return m_formats[static_cast<std::size_t>(style)];
}

int QsciEditor::styleAt(long pos) const {
    return static_cast<int>(SendScintilla(SCI_GETSTYLEAT, static_cast<unsigned long>(pos)) & 0xFF);
}

CharFormat QsciEditor::formatAt(long pos) const {
    if (pos < 0 || pos >= length())
        return m_formats[0];
    return formatOfStyle(styleAt(pos));
}

std::vector<std::uint8_t> QsciEditor::readStyles(long start, long end) const {
    const auto n = static_cast<std::size_t>(end - start);
    std::vector<std::uint8_t> styles(n);
    // Scintilla hands out character and style interleaved (plus two
    // terminating NULs); a piece at a time, through a buffer that stays in
    // the cache, rather than twice the text at once.
    constexpr std::size_t kPiece = 32 * 1024;
    std::vector<char> cells(2 * std::min(n, kPiece) + 2);
    for (std::size_t done = 0; done < n;) {
        const std::size_t piece = std::min(kPiece, n - done);
        const long from = start + static_cast<long>(done);
        SendScintilla(SCI_GETSTYLEDTEXT, from, from + static_cast<long>(piece), cells.data());
        for (std::size_t i = 0; i < piece; ++i)
            styles[done + i] = static_cast<std::uint8_t>(cells[2 * i + 1]);
        done += piece;
    }
    return styles;
}

void QsciEditor::writeStyles(long start, const std::vector<std::uint8_t>& styles) {
    if (styles.empty())
        return;
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(start),
                  static_cast<long>(kAllStyleBits));
    SendScintilla(SCI_SETSTYLINGEX, static_cast<uintptr_t>(styles.size()),
                  reinterpret_cast<const char*>(styles.data()));
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
    std::vector<std::uint8_t> styles = readStyles(lo, hi);
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
                    CharFormat f = formatOfStyle(s);
                    pass.change(f);
                    to = styleFor(f);
                }
                s = static_cast<std::uint8_t>(to);
            }
        }
    }
    writeStyles(lo, styles);
}

void QsciEditor::setSelectionColour(Rgb colour) {
    const long len = selectionLength();
    if (len == 0) {
        CharFormat f = m_pending.value_or(formatAt(selectionStart() - 1));
        f.colour = colour;
        styleFor(f); // allocated now, so that typing cannot run out of styles
        m_pending = f;
        return;
    }
    const std::vector<Range> selection{Range{selectionStart(), len}};
    restyle({{selection, [colour](CharFormat& f) { f.colour = colour; }}});
}

void QsciEditor::setSelectionBold(bool bold) {
    const long len = selectionLength();
    if (len == 0) {
        CharFormat f = m_pending.value_or(formatAt(selectionStart() - 1));
        f.bold = bold;
        styleFor(f);
        m_pending = f;
        return;
    }
    const std::vector<Range> selection{Range{selectionStart(), len}};
    restyle({{selection, [bold](CharFormat& f) { f.bold = bold; }}});
}

Rgb QsciEditor::defaultColour() const {
    return m_formats[0].colour;
}

void QsciEditor::setDefaultColour(Rgb colour) {
    m_formats[0].colour = colour;
    defineStyle(0, m_formats[0]);
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
    const std::string_view old = bytes();
    const std::vector<std::uint8_t> oldStyles = readStyles(lo, hi);
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
        styles.insert(styles.end(), e.text.size(), static_cast<std::uint8_t>(styleFor(e.format)));
        copied = e.start + e.length;
    }

    const long selStart = selectionStart();
    const long selLength = selectionLength();
    ProgramEdit edit(*this);
    replaceRange(lo, hi - lo, text);
    writeStyles(lo, styles);
    const long newLength = length();
    const long start = std::min(selStart, newLength);
    setSelectionQuietly(start, start + std::min(selLength, newLength - start));
}

long QsciEditor::find(std::string_view what, long start, long len) const {
    return findNoCase(bytes(), what, start, len);
}

void QsciEditor::onModified(int position, int modificationType, const char*, int length, int, int,
                            int, int, int, int) {
    if (m_programEdit || !(modificationType & SC_MOD_INSERTTEXT) || length <= 0)
        return;
    ++m_insertions;
    int style = 0;
    if (m_pending)
        style = styleFor(*m_pending);
    else if (m_replacedStyle)
        style = *m_replacedStyle;
    else if (position > 0)
        style = styleAt(position - 1);
    if (style == 0)
        return; // inserted text already has style 0
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(position),
                  static_cast<long>(kAllStyleBits));
    SendScintilla(SCI_SETSTYLING, static_cast<unsigned long>(length), static_cast<long>(style));
}

// ---- widget ----

void QsciEditor::setFocus() {
    QWidget::setFocus();
}

bool QsciEditor::isVisible() const {
    return QWidget::isVisible();
}

void QsciEditor::setVisible(bool visible) {
    QsciScintilla::setVisible(visible);
}

void QsciEditor::cut() {
    QsciScintilla::cut();
}

void QsciEditor::copy() {
    QsciScintilla::copy();
}

void QsciEditor::setBorder(bool single) {
    setFrameShape(single ? QFrame::Box : QFrame::NoFrame);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
}

bool QsciEditor::hasBorder() const {
    return frameShape() != QFrame::NoFrame;
}

void QsciEditor::setReadOnly(bool readOnly) {
    QsciScintilla::setReadOnly(readOnly);
}

bool QsciEditor::isReadOnly() const {
    return QsciScintilla::isReadOnly();
}

void QsciEditor::setEditorFont(const QFont& font) {
    QFont chosen = font;
    if (!QFontDatabase::hasFamily(font.family())) {
        chosen = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (font.pointSizeF() > 0)
            chosen.setPointSizeF(font.pointSizeF());
    }
    m_font = chosen;
    defineStyle(STYLE_DEFAULT, m_formats[0]);
    for (std::size_t s = 0; s < m_allocated.size(); ++s)
        if (m_allocated[s])
            defineStyle(static_cast<int>(s), m_formats[s]);
}

namespace {

// Marker numbers and the margin that shows them; margin 0 stays unused.
constexpr int kMarkMargin = 1;

int markerOf(QsciEditor::LineMark mark) {
    return mark == QsciEditor::LineMark::Error ? 1 : 2;
}

} // namespace

void QsciEditor::defineLineMarks() {
    const int errorMarker = markerOf(LineMark::Error);
    const int warningMarker = markerOf(LineMark::Warning);
    markerDefine(QsciScintilla::Circle, errorMarker);
    setMarkerBackgroundColor(QColor(0xd0, 0x20, 0x20), errorMarker);
    setMarkerForegroundColor(QColor(0x80, 0x00, 0x00), errorMarker);
    markerDefine(QsciScintilla::RightTriangle, warningMarker);
    setMarkerBackgroundColor(QColor(0xf0, 0xb0, 0x00), warningMarker);
    setMarkerForegroundColor(QColor(0x80, 0x60, 0x00), warningMarker);
    setMarginType(kMarkMargin, QsciScintilla::SymbolMargin);
    setMarginMarkerMask(kMarkMargin, (1 << errorMarker) | (1 << warningMarker));
}

void QsciEditor::addLineMark(int line, LineMark mark) {
    setMarginWidth(kMarkMargin, 14); // the margin shows while a line is marked
    markerAdd(line, markerOf(mark));
}

void QsciEditor::clearLineMarks() {
    markerDeleteAll(markerOf(LineMark::Error));
    markerDeleteAll(markerOf(LineMark::Warning));
    setMarginWidth(kMarkMargin, 0);
}

std::vector<int> QsciEditor::linesWithMark(LineMark mark) const {
    std::vector<int> lines;
    const unsigned mask = 1U << markerOf(mark);
    for (int line = markerFindNext(0, mask); line >= 0; line = markerFindNext(line + 1, mask))
        lines.push_back(line);
    return lines;
}

} // namespace talmo
