// SPDX-License-Identifier: GPL-3.0-or-later
// Completion in the editor: Ctrl+Space, or the third character of a name
// typed, shows the names that complete the one before the caret (after a "."
// the fields only); a "(" typed after a function's name shows its prototype.
// What completes what comes from the window's functions, so the list follows
// the mod's definitions wherever they are kept.
#pragma once

#include "Completion.h"

#include <QObject>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

class QsciView;

class EditorCompletion : public QObject {
    Q_OBJECT
public:
    // The items that complete `typed`; none while the mod is being read.
    using Completions = std::function<std::vector<CompletionItem>(const NameAt& typed)>;
    // The prototype line of a function; empty when none is known.
    using Prototype = std::function<std::string(std::string_view function)>;

    // Lives as long as `view` (its child).
    EditorCompletion(QsciView& view, Completions completions, Prototype prototype);

    // Shows the list for the name before the caret (Ctrl+Space).
    void complete();

private:
    void charAdded(int ch);
    // The text before the caret (as far as a name or a call reaches back)
    // and the caret's offset in it.
    std::string textBeforeCaret(std::size_t& offset) const;

    QsciView& m_view;
    Completions m_completions;
    Prototype m_prototype;
};

} // namespace talmo
