// SPDX-License-Identifier: GPL-3.0-or-later
// The editor contract over a QsciView: text in and out as bytes through
// Scintilla messages, never through QString; formats through the view's
// styles. The view owns its QsciEditor (a QObject child of it): make a
// QsciView and take view->editor().
#pragma once

#include "Editor.h"

#include <QObject>

#include <functional>
#include <initializer_list>

namespace talmo {

class QsciView;

class QsciEditor : public QObject, public Editor {
    Q_OBJECT
public:
    // Made by the view, as its child.
    explicit QsciEditor(QsciView& view);

    QsciView* view() const { return &m_view; }

    std::string text() const override;
    long length() const override;
    int lineCount() const override;
    std::string line(int i) const override;
    long lineStart(int i) const override;
    std::string textRange(long start, long len) const override;
    std::vector<std::string> lines() const override;
    void insertLineAtStart(std::string_view text) override;
    void setText(std::string_view bytes) override;

    long selectionStart() const override;
    void setSelectionStart(long pos) override;
    long selectionLength() const override;
    void setSelectionLength(long len) override;
    bool showLine(int line) override;
    int caretLine() const override;

    CharFormat formatAt(long pos) const override;
    void setSelectionColour(Rgb colour) override;
    void setDefaultColour(Rgb colour) override;
    void applyColour(const std::vector<Range>& ranges, Rgb colour) override;
    void applyBold(const std::vector<Range>& ranges) override;
    void applyBoldAndColour(const std::vector<Range>& bold, const std::vector<Range>& coloured,
                            Rgb colour) override;
    void applyEdits(const std::vector<Edit>& edits) override;
    long find(std::string_view what, long start, long len) const override;

    void setFocus() override;
    void cut() override;
    void copy() override;
    void paste() override;

private:
    // Every character of each pass's ranges restyled through its change,
    // the passes in order, with one read and one write of the styles.
    struct StylePass {
        const std::vector<Range>& ranges;
        std::function<void(CharFormat&)> change;
    };
    void restyle(std::initializer_list<StylePass> passes);

    QsciView& m_view;
};

} // namespace talmo
