// SPDX-License-Identifier: GPL-3.0-or-later
// The QScintilla control that shows the text: an 8-bit buffer (no UTF-8
// mode, no lexer) with CR LF line ends, so a buffer offset is an editor
// position. Each (colour, bold) pair in use gets a Scintilla style of its
// own, allocated on demand; style 0 is the default format.
//
// The view owns what the user touches: keys, input methods, the mouse, the
// clipboard (the raw bytes beside the text, as application/x-talmo-bytes),
// drops, the margin of line marks, hovering. Text from keys, input methods,
// the clipboard and drops is mapped to bytes through the text boundary; text
// with a character that has no byte is refused whole and reported through
// the editor's events().refused. Typed, pasted and undone text is formatted
// as it comes in: the pending typing format, else the format of the first
// character it replaces, else the format of the character before it.
//
// The editor contract over this view is editor(), a QsciEditor owned by the
// view; the view's buffer and style helpers below serve it.
#pragma once

#include "Editor.h"

#include <Qsci/qsciscintilla.h>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

class QsciEditor;

class QsciView : public QsciScintilla {
    Q_OBJECT
public:
    explicit QsciView(QWidget* parent = nullptr);

    // The editor contract over this view (owned by it).
    QsciEditor* editor() const { return m_editor; }

    // Types `text` at the caret as the user would, key by key (CR LF is one
    // Enter), with the pending typing format or the format before the caret.
    void typeText(std::string_view text);

    // Font of every style (the editor's fixed-pitch face). A family that is
    // not installed falls back to the system's fixed-pitch font at the size
    // asked for.
    void setEditorFont(const QFont& font);
    QFont editorFont() const { return m_font; }

    // A single-line frame around the view, or none.
    void setBorder(bool single);

    // Marks of whole lines (zero-based) in a margin that shows while any mark
    // is set: errors and warnings each with a symbol of their own. The marks
    // move with their lines as the text is edited.
    enum class LineMark { Error, Warning };
    void addLineMark(int line, LineMark mark);
    void clearLineMarks();
    // The lines carrying `mark`, ascending.
    std::vector<int> linesWithMark(LineMark mark) const;

    // The position of the character under `point` (viewport coordinates);
    // -1 when no character is close to it.
    long positionAt(QPoint point) const;
    // How long the mouse rests before SCN_DWELLSTART reports it.
    void setHoverDelay(int milliseconds);
    // Scrolls `line` to a third down the view, unless it shows well already.
    void scrollLineIntoView(int line);

    // A list under the caret of `names` (bytes) that complete the
    // `typedLength` bytes before it, narrowed as the user types on; the name
    // chosen replaces them as typed text would, one undo step.
    void showCompletions(long typedLength, const std::vector<std::string>& names);
    bool isCompletionShown() const;
    // A tip under the caret showing `text` (bytes): the call being typed.
    void showCallTip(std::string_view text);

    // ---- the buffer, for the editor contract ----
    std::string_view bytes() const;
    long bufferLength() const;
    long selectionStart() const;
    long selectionLength() const;
    // Selects [start, end) without scrolling.
    void setSelectionQuietly(long start, long end);
    void replaceRange(long start, long length, std::string_view text);
    int styleAt(long pos) const;
    // Styles of [start, end) read with one message.
    std::vector<std::uint8_t> readStyles(long start, long end) const;
    void writeStyles(long start, const std::vector<std::uint8_t>& styles);
    // The style of `format`, allocated on first use.
    int styleFor(CharFormat format);
    // The format of `style`; the default format for a style not in use.
    CharFormat formatOfStyle(int style) const;
    void setDefaultColour(Rgb colour);
    // The format of the next typed text, if one was set with nothing selected.
    std::optional<CharFormat> pendingFormat() const { return m_pending; }
    void setPendingFormat(std::optional<CharFormat> format) { m_pending = format; }
    // The whole text was replaced: the typing format and any composition
    // shown in the old text are gone.
    void forgetTyping();

    // Lifts read-only for an edit made by the program and keeps the typed
    // text's formatting out of it (the edit formats its own text).
    class ProgramEdit;

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

public slots:
    // A paste of text holding a NUL inserts it whole.
    void paste() override;

private:
    // The callbacks set on the editor.
    const EditorEvents& events() const;
    // The markers of the two kinds of line mark and the margin that shows them.
    void defineLineMarks();
    void defineStyle(int style, CharFormat format);
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
    // A name chosen in the list of completions.
    void onCompletionChosen(const char* name, int position);
    void onModified(int position, int modificationType, const char* text, int length,
                    int linesAdded, int line, int foldNow, int foldPrev, int token,
                    int annotationLinesAdded);

    QsciEditor* m_editor = nullptr;
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
