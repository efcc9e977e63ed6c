// SPDX-License-Identifier: GPL-3.0-or-later
// The editor contract: what the window and the analysis need from a text
// control holding 8-bit text whose characters carry a colour and a bold flag.
//
// Units: a position is a zero-based byte offset into the text. Line breaks are
// always stored as CR LF, so a line break counts two positions. The line count
// ignores a final empty line: "" has 0 lines, "a" 1, "a\r\n" 1, "a\r\nb" 2.
//
// Two implementations: TextModel (in memory, no Qt) and QsciEditor (over the
// QScintilla view of the window). What only a widget has (visibility, a
// frame, read-only, fonts) belongs to the view, not here.
#pragma once

#include "FileError.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kRed{255, 0, 0};

struct CharFormat {
    Rgb colour;
    bool bold = false;
    friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

// A run of positions [start, start + length).
struct Range {
    long start = 0;
    long length = 0;
    friend bool operator==(const Range&, const Range&) = default;
};

// One replacement of a bulk edit: [start, start + length) of the text as it
// was before the edit becomes `text`, formatted `format`.
struct Edit {
    long start = 0;
    long length = 0;
    std::string text;
    CharFormat format;
};

// [start, start + len) of `text`, clipped to it.
inline std::string_view clippedRange(std::string_view text, long start, long len) {
    const long size = static_cast<long>(text.size());
    const auto clamp = [size](long p) { return p < 0 ? 0 : (p > size ? size : p); };
    const long from = clamp(start);
    const long to = len <= 0 ? from : clamp(start > size - len ? size : start + len);
    return text.substr(static_cast<std::size_t>(from),
                       static_cast<std::size_t>(to > from ? to - from : 0));
}

// Callbacks for the user's keys and clicks in the control.
struct EditorEvents {
    // A key goes down, before it acts. `key` is the toolkit's key code.
    std::function<void(int key)> keyDown;
    // A character is typed (control characters included, navigation keys not).
    std::function<void(char ch)> keyPress;
    // A mouse button goes down / up, after the click has moved the caret.
    std::function<void()> mouseDown;
    std::function<void()> mouseUp;
    // Text was typed, pasted or dropped holding a character that has no byte
    // in the 8-bit text; nothing was inserted. `character` is the first such
    // character, in UTF-8.
    std::function<void(const std::string& character)> refused;
};

class Editor {
public:
    virtual ~Editor() = default;

    // Whole text and its length in positions.
    virtual std::string text() const = 0;
    virtual long length() const = 0;

    virtual int lineCount() const = 0;
    // Line i without its line break; empty for i outside [0, lineCount()).
    virtual std::string line(int i) const = 0;
    // Position of the first character of line i for i in [0, lineCount()],
    // where lineStart(lineCount()) is length() (the empty line after a final
    // line break); -1 for any other i.
    virtual long lineStart(int i) const = 0;
    // The bytes of [start, start + len), clipped to the text; empty when
    // nothing of it lies inside.
    virtual std::string textRange(long start, long len) const = 0;
    // Every line, without line breaks (lineCount() entries).
    virtual std::vector<std::string> lines() const;
    // Every line followed by CR LF; empty exactly when the text is empty.
    std::string joinedLines() const;

    // Inserts `text` and CR LF at position 0.
    virtual void insertLineAtStart(std::string_view text) = 0;

    // Replaces the text by `bytes` with every line break (CR, LF, CR LF)
    // turned into CR LF; all formatting goes back to the default format.
    virtual void setText(std::string_view bytes) = 0;
    // setText() with the file's bytes. Throws FileError, text unchanged, when
    // the file cannot be read.
    void loadFromFile(const std::filesystem::path& path);
    // Writes text() to the file, creating or truncating it. Throws FileError.
    void saveToFile(const std::filesystem::path& path) const;

    virtual long selectionStart() const = 0;
    // Places the caret at pos (clamped to [0, length()]), nothing selected.
    virtual void setSelectionStart(long pos) = 0;
    virtual long selectionLength() const = 0;
    // Selects `len` positions from the selection start (clamped to the end)
    // and scrolls them into view.
    virtual void setSelectionLength(long len) = 0;
    // Selects line `line` without its line break and shows it, a third down
    // the view unless it shows well already; false, nothing done, for a line
    // that lineStart() does not find.
    virtual bool showLine(int line);
    // Zero-based line holding the end of the selection.
    virtual int caretLine() const = 0;

    // Format of the character at pos (the default format out of range).
    virtual CharFormat formatAt(long pos) const = 0;
    // Colour of the selection, each character keeping its bold; with nothing
    // selected, of the next typed text.
    virtual void setSelectionColour(Rgb colour) = 0;
    virtual void setDefaultColour(Rgb colour) = 0;

    // Bulk formatting: the same as selecting each range and setting its
    // colour (or bold) one after the other, without moving the selection.
    virtual void applyColour(const std::vector<Range>& ranges, Rgb colour) = 0;
    virtual void applyBold(const std::vector<Range>& ranges) = 0;
    // applyBold(bold), then applyColour(coloured, colour), in one go.
    virtual void applyBoldAndColour(const std::vector<Range>& bold,
                                    const std::vector<Range>& coloured, Rgb colour);
    // Bulk replacement: `edits` are sorted, non-overlapping ranges of the
    // current text; each becomes its text with its format. Other characters
    // keep their format. The selection is left to the caller.
    virtual void applyEdits(const std::vector<Edit>& edits) = 0;

    // Position of the first occurrence of `what` that begins at or after
    // `start` and ends at or before start + len and the text's end, ignoring
    // ASCII letter case; -1 when none, for an empty `what` or a negative
    // start. The selection does not move.
    virtual long find(std::string_view what, long start, long len) const;

    // Puts the user's keys into the editor.
    virtual void setFocus() = 0;
    // The clipboard, as the Edit menu uses it.
    virtual void cut() = 0;
    virtual void copy() = 0;
    virtual void paste() = 0;

    void setEvents(EditorEvents events) { m_events = std::move(events); }
    const EditorEvents& events() const { return m_events; }

protected:
    EditorEvents m_events;
};

} // namespace talmo
