// SPDX-License-Identifier: GPL-3.0-or-later
#include "QsciView.h"
#include "QsciEditor.h"
#include "QsciProgramEdit.h"

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

QsciView::QsciView(QWidget* parent) : QsciScintilla(parent) {
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
    // Completion lists: one name a line, in their own order (the typed case
    // first), matching the typed text in any case.
    SendScintilla(SCI_AUTOCSETSEPARATOR, static_cast<unsigned long>('\n'));
    SendScintilla(SCI_AUTOCSETORDER, static_cast<unsigned long>(SC_ORDER_CUSTOM));
    SendScintilla(SCI_AUTOCSETIGNORECASE, 1UL);
    SendScintilla(SCI_AUTOCSETAUTOHIDE, 1UL);
    SendScintilla(SCI_AUTOCSETCHOOSESINGLE, 0UL);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this, &QsciView::onModified);
    connect(this, qOverload<const char*, int>(&QsciScintillaBase::SCN_AUTOCSELECTION), this,
            &QsciView::onCompletionChosen);
    m_editor = new QsciEditor(*this);
}

const EditorEvents& QsciView::events() const {
    static const EditorEvents none;
    return m_editor ? m_editor->events() : none;
}

std::string_view QsciView::bytes() const {
    const long n = SendScintilla(SCI_GETLENGTH);
    if (n <= 0)
        return {};
    const auto* p = static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return {p, static_cast<std::size_t>(n)};
}

long QsciView::bufferLength() const {
    return SendScintilla(SCI_GETLENGTH);
}

long QsciView::selectionStart() const {
    return SendScintilla(SCI_GETSELECTIONSTART);
}

long QsciView::selectionLength() const {
    return SendScintilla(SCI_GETSELECTIONEND) - SendScintilla(SCI_GETSELECTIONSTART);
}

void QsciView::replaceRange(long start, long len, std::string_view text) {
    SendScintilla(SCI_SETTARGETSTART, static_cast<unsigned long>(start));
    SendScintilla(SCI_SETTARGETEND, static_cast<unsigned long>(start + len));
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()),
                  text.empty() ? "" : text.data());
}

void QsciView::setSelectionQuietly(long start, long end) {
    SendScintilla(SCI_SETANCHOR, static_cast<unsigned long>(start));
    SendScintilla(SCI_SETCURRENTPOS, static_cast<unsigned long>(end));
}

void QsciView::defineStyle(int style, CharFormat format) {
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

int QsciView::styleFor(CharFormat format) {
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

CharFormat QsciView::formatOfStyle(int style) const {
    if (style < 0 || style > 255 || !m_allocated[static_cast<std::size_t>(style)])
        return m_formats[0];
    return m_formats[static_cast<std::size_t>(style)];
}

int QsciView::styleAt(long pos) const {
    return static_cast<int>(SendScintilla(SCI_GETSTYLEAT, static_cast<unsigned long>(pos)) & 0xFF);
}

std::vector<std::uint8_t> QsciView::readStyles(long start, long end) const {
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

void QsciView::writeStyles(long start, const std::vector<std::uint8_t>& styles) {
    if (styles.empty())
        return;
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(start),
                  static_cast<long>(kAllStyleBits));
    SendScintilla(SCI_SETSTYLINGEX, static_cast<uintptr_t>(styles.size()),
                  reinterpret_cast<const char*>(styles.data()));
}

void QsciView::setDefaultColour(Rgb colour) {
    m_formats[0].colour = colour;
    defineStyle(0, m_formats[0]);
}

void QsciView::forgetTyping() {
    m_pending.reset();
    // Scintilla forgets a composition shown in the text just replaced.
    m_composing = false;
    m_composedOver.reset();
}

void QsciView::onModified(int position, int modificationType, const char*, int length, int, int,
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

long QsciView::positionAt(QPoint point) const {
    return SendScintilla(SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(point.x()),
                         static_cast<long>(point.y()));
}

void QsciView::setHoverDelay(int milliseconds) {
    SendScintilla(SCI_SETMOUSEDWELLTIME, static_cast<unsigned long>(milliseconds));
}

void QsciView::scrollLineIntoView(int line) {
    const long first = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long onScreen = SendScintilla(SCI_LINESONSCREEN);
    if (line < first || line > first + onScreen - 3)
        SendScintilla(SCI_SETFIRSTVISIBLELINE,
                      static_cast<unsigned long>(std::max(0L, line - onScreen / 3)));
}

void QsciView::setBorder(bool single) {
    setFrameShape(single ? QFrame::Box : QFrame::NoFrame);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
}

void QsciView::setEditorFont(const QFont& font) {
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

int markerOf(QsciView::LineMark mark) {
    return mark == QsciView::LineMark::Error ? 1 : 2;
}

} // namespace

void QsciView::defineLineMarks() {
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

void QsciView::addLineMark(int line, LineMark mark) {
    setMarginWidth(kMarkMargin, 14); // the margin shows while a line is marked
    markerAdd(line, markerOf(mark));
}

void QsciView::clearLineMarks() {
    markerDeleteAll(markerOf(LineMark::Error));
    markerDeleteAll(markerOf(LineMark::Warning));
    setMarginWidth(kMarkMargin, 0);
}

std::vector<int> QsciView::linesWithMark(LineMark mark) const {
    std::vector<int> lines;
    const unsigned mask = 1U << markerOf(mark);
    for (int line = markerFindNext(0, mask); line >= 0; line = markerFindNext(line + 1, mask))
        lines.push_back(line);
    return lines;
}

// ---- completion ----

void QsciView::showCompletions(long typedLength, const std::vector<std::string>& names) {
    if (names.empty())
        return;
    std::string list;
    for (const std::string& name : names) {
        if (!list.empty())
            list += '\n';
        list += name;
    }
    SendScintilla(SCI_AUTOCSHOW, static_cast<unsigned long>(typedLength), list.c_str());
}

bool QsciView::isCompletionShown() const {
    return SendScintilla(SCI_AUTOCACTIVE) != 0;
}

void QsciView::showCallTip(std::string_view text) {
    const std::string tip(text);
    SendScintilla(SCI_CALLTIPSHOW, static_cast<unsigned long>(SendScintilla(SCI_GETCURRENTPOS)),
                  tip.c_str());
}

void QsciView::onCompletionChosen(const char* name, int position) {
    // Scintilla would insert the name itself; it goes in as typed text does,
    // over what was typed of it.
    SendScintilla(SCI_AUTOCCANCEL);
    if (!name)
        return;
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    setSelectionQuietly(position, caret);
    insertOverSelection(name);
}

} // namespace talmo
