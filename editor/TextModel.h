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
    std::string textRange(long start, long len) const override;
    std::vector<std::string> lines() const override;
    void insertLineAtStart(std::string_view text) override;
    void setText(std::string_view bytes) override;

    long selectionStart() const override { return m_selStart; }
    void setSelectionStart(long pos) override;
    long selectionLength() const override { return m_selLength; }
    void setSelectionLength(long len) override;
    void replaceSelection(std::string_view text) override;
    int caretLine() const override;

    CharFormat formatAt(long pos) const override;
    void setSelectionColour(Rgb colour) override;
    void setSelectionBold(bool bold) override;
    Rgb defaultColour() const override { return m_formats[0].colour; }
    void setDefaultColour(Rgb colour) override { m_formats[0].colour = colour; }
    void applyColour(const std::vector<Range>& ranges, Rgb colour) override;
    void applyBold(const std::vector<Range>& ranges) override;
    void applyEdits(const std::vector<Edit>& edits) override;
    long find(std::string_view what, long start, long len) const override;
    void typeText(std::string_view text) override;

    void setFocus() override { m_focused = true; }
    bool hasFocus() const { return m_focused; }
    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override { m_visible = visible; }
    void cut() override;
    void copy() override;
    void paste() override;
    void setBorder(bool single) override { m_border = single; }
    bool hasBorder() const override { return m_border; }
    void setReadOnly(bool readOnly) override { m_readOnly = readOnly; }
    bool isReadOnly() const override { return m_readOnly; }

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
    bool m_visible = true;
    bool m_border = false;
    bool m_readOnly = false;
    int m_scrolls = 0;
    std::string m_clipboard;
};

} // namespace talmo
