// SPDX-License-Identifier: GPL-3.0-or-later
// The editor contract on a QScintilla control: an 8-bit buffer (no UTF-8
// mode, no lexer) with CR LF line ends, so a buffer offset is an editor
// position. Each (colour, bold) pair in use gets a Scintilla style of its
// own, allocated on demand; style 0 is the default format.
//
// Text goes in and out as bytes through Scintilla messages, never through
// QString. Typed, pasted and undone text is formatted in the modification
// notification: the pending typing format, else the format of the first
// character it replaces, else the format of the character before it.
// Text from keys, input methods, the clipboard and drops is mapped to bytes
// through the text boundary; text with a character that has no byte is
// refused whole and reported through events().refused.
#pragma once

#include "Editor.h"

#include <Qsci/qsciscintilla.h>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>

namespace talmo {

class QsciEditor : public QsciScintilla, public Editor {
    Q_OBJECT
public:
    explicit QsciEditor(QWidget* parent = nullptr);

    std::string text() const override;
    long length() const override;
    int lineCount() const override;
    std::string line(int i) const override;
    std::string textRange(long start, long len) const override;
    std::vector<std::string> lines() const override;
    void insertLineAtStart(std::string_view text) override;
    void setText(std::string_view bytes) override;

    long selectionStart() const override;
    void setSelectionStart(long pos) override;
    long selectionLength() const override;
    void setSelectionLength(long len) override;
    void replaceSelection(std::string_view text) override;
    int caretLine() const override;

    CharFormat formatAt(long pos) const override;
    void setSelectionColour(Rgb colour) override;
    void setSelectionBold(bool bold) override;
    Rgb defaultColour() const override;
    void setDefaultColour(Rgb colour) override;
    void applyColour(const std::vector<Range>& ranges, Rgb colour) override;
    void applyBold(const std::vector<Range>& ranges) override;
    void applyBoldAndColour(const std::vector<Range>& bold, const std::vector<Range>& coloured,
                            Rgb colour) override;
    void applyEdits(const std::vector<Edit>& edits) override;
    long find(std::string_view what, long start, long len) const override;
    void typeText(std::string_view text) override;

    void setFocus() override;
    bool isVisible() const override;
    void setVisible(bool visible) override;
    void cut() override;
    void copy() override;
    void paste() override;
    void setBorder(bool single) override;
    bool hasBorder() const override;
    void setReadOnly(bool readOnly) override;
    bool isReadOnly() const override;

    // Font of every style (the editor's fixed-pitch face). A family that is
    // not installed falls back to the system's fixed-pitch font at the size
    // asked for.
    void setEditorFont(const QFont& font);
    QFont editorFont() const { return m_font; }

    // Marks of whole lines (zero-based) in a margin that shows while any mark
    // is set: errors and warnings each with a symbol of their own. The marks
    // move with their lines as the text is edited.
    enum class LineMark { Error, Warning };
    void addLineMark(int line, LineMark mark);
    void clearLineMarks();
    // The lines carrying `mark`, ascending.
    std::vector<int> linesWithMark(LineMark mark) const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // The clipboard holds Unicode text and, beside it, the raw bytes, which a
    // paste prefers; the buffer holds Windows-1252 bytes.
    QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;
    QMimeData* toMimeData(const QByteArray& text, bool rectangular) const override;

private:
    // The markers of the two kinds of line mark and the margin that shows them.
    void defineLineMarks();
    class ProgramEdit;

    int styleFor(CharFormat format);
    void defineStyle(int style, CharFormat format);
    CharFormat formatOfStyle(int style) const;
    int styleAt(long pos) const;
    // Styles of [start, end) read with one message.
    std::vector<std::uint8_t> readStyles(long start, long end) const;
    void writeStyles(long start, const std::vector<std::uint8_t>& styles);
    // Every character of each pass's ranges restyled through its change,
    // the passes in order, with one read and one write of the styles.
    struct StylePass {
        const std::vector<Range>& ranges;
        std::function<void(CharFormat&)> change;
    };
    void restyle(std::initializer_list<StylePass> passes);
    void replaceRange(long start, long length, std::string_view text);
    void setSelectionQuietly(long start, long end);
    bool isActionShortcut(const QKeyEvent* event) const;
    // Printable key text, already mapped to `bytes`, typed as Scintilla would
    // type it (or the key's command run), without Scintilla's Latin-1 turn.
    void typeKeyText(QKeyEvent* event, const std::string& bytes);
    // Inserts bytes over the selection, formatted as typing is; the caret
    // ends after them.
    void insertOverSelection(const std::string& bytes);
    // Tells the window that text holding `character` was refused.
    void refuse(const QString& character) const;
    // Hands an input method's composition to Scintilla to show.
    void showComposition(const QInputMethodEvent& event);
    // Puts back the selection that a composition took down.
    void putBackComposedOver();
    // Scintilla pastes and drops text as a C string, cut at its first NUL:
    // text copied here that holds a NUL is pasted and dropped here instead.
    // The bytes of such text, with CR LF line breaks; none for other text.
    std::optional<std::string> textWithNul(const QMimeData* source) const;
    // Pastes from the clipboard or the selection; false when left to Scintilla.
    bool pasteWithNul(bool fromSelection);
    void onModified(int position, int modificationType, const char* text, int length,
                    int linesAdded, int line, int foldNow, int foldPrev, int token,
                    int annotationLinesAdded);
    std::string_view bytes() const;

    QFont m_font;
    std::array<CharFormat, 256> m_formats{}; // style -> format, 0 is the default
    std::array<bool, 256> m_allocated{};     // styles in use
    std::map<std::pair<std::uint32_t, bool>, int> m_styleOf;
    std::optional<CharFormat> m_pending; // format of the next typed text
    std::optional<int> m_replacedStyle;  // style of a selection being typed over
    bool m_programEdit = false;          // our own edits format themselves
    unsigned m_insertions = 0;           // insertions seen, to tell typing from moves
    // An input-method composition is shown, and the selection it replaced.
    bool m_composing = false;
    struct Replaced {
        long start = 0;
        std::string bytes;
        std::vector<std::uint8_t> styles;
    };
    std::optional<Replaced> m_composedOver;
};

} // namespace talmo
