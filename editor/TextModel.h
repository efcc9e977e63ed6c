// SPDX-License-Identifier: GPL-3.0-or-later
// In-memory implementation of the editor contract, with no Qt: the reference
// for the contract's semantics and the editor of the analysis tests.
#pragma once

#include "Editor.h"

#include <cstdint>
#include <optional>

namespace talmo {

class TextModel : public Editor {
public:
    TextModel();

    std::string text() const override { return m_text; }
    long length() const override { return static_cast<long>(m_text.size()); }
    int lineCount() const override;
    std::string line(int i) const override;
    long lineStart(int i) const override;
    std::string textRange(long start, long len) const override;
    std::vector<std::string> lines() const override;
    void insertLineAtStart(std::string_view text) override;
    void setText(std::string_view bytes) override;

    long selectionStart() const override { return m_selStart; }
    void setSelectionStart(long pos) override;
    long selectionLength() const override { return m_selLength; }
    void setSelectionLength(long len) override;
    int caretLine() const override;

    CharFormat formatAt(long pos) const override;
    void setSelectionColour(Rgb colour) override;
    void setDefaultColour(Rgb colour) override { m_formats[0].colour = colour; }
    void applyColour(const std::vector<Range>& ranges, Rgb colour) override;
    void applyBold(const std::vector<Range>& ranges) override;
    void applyEdits(const std::vector<Edit>& edits) override;
    long find(std::string_view what, long start, long len) const override;

    void setFocus() override { m_focused = true; }
    bool hasFocus() const { return m_focused; }
    void cut() override;
    void copy() override;
    void paste() override;

    // What the user does in a real view, for the model's tests.
    // The selected text replaced by `text`, which takes the format of the
    // first replaced character (or of the character before the caret when
    // nothing is selected); the caret ends after it, nothing selected.
    void replaceSelection(std::string_view text);
    // Bold of the selection, each character keeping its colour; with nothing
    // selected, of the next typed text.
    void setSelectionBold(bool bold);
    // Types `text` at the caret as the user would (replacing a selection),
    // with the pending typing format or the format before the caret.
    void typeText(std::string_view text);
    // Read-only stops typing, cut and paste, not the program's edits.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }

    // The model's own clipboard (the real control uses the system's).
    const std::string& clipboard() const { return m_clipboard; }
    // Selection changes since construction: lets tests count scrolls.
    int scrollCount() const { return m_scrolls; }

private:
    std::uint8_t styleFor(CharFormat format);
    void insertAt(long pos, std::string_view text, std::uint8_t style);

    std::string m_text;
    std::vector<std::uint8_t> m_styles;  // one style per character
    std::vector<CharFormat> m_formats;   // style -> format; 0 is the default
    std::optional<CharFormat> m_pending; // format of the next typed text
    long m_selStart = 0;
    long m_selLength = 0;
    bool m_focused = false;
    bool m_readOnly = false;
    int m_scrolls = 0;
    std::string m_clipboard;
};

} // namespace talmo
