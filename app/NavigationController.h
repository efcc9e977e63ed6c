// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation across the whole mod over the editor contract: go to a
// definition, every usage of a name, back and forward, and the text shown
// when the pointer rests on a name. The definition index of the working
// directory is built on a worker thread whenever the directory changes and
// follows every file the edit controller writes or sees change.
//
// Positions are editor positions (byte offsets, a line break counting two).
// Files open through the edit controller; what the window shows goes out as
// signals: the list of places, the caret placed, the log lines.
#pragma once

#include "Completion.h"
#include "DefinitionIndex.h"
#include "MessageList.h" // ListedMessage

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

class EditController;
class Editor;
class WorkingDirectory;
struct NameAt;

class NavigationController : public QObject {
    Q_OBJECT
public:
    // Starts building the index of the working directory.
    NavigationController(Editor& editor, EditController& edit, WorkingDirectory& directory,
                         QObject* parent = nullptr);
    ~NavigationController() override;

    // The index of the working directory is built and no build is running.
    bool indexReady() const;
    // Keeps the index current: Talmo wrote `path` or saw it change.
    void fileWritten(const QString& path);
    // Starts a new build when the working directory is not the indexed one.
    void directoryChanged();

    // Opens the file of the definition of the name at `position` (the caret
    // when negative) and selects the name there; a body rather than its
    // prototype. Several left: listed, the first opened. Unknown: a log line,
    // nothing moves. False when it did not move.
    bool goToDefinitionAt(long position);
    // Every use of the name at the caret across the mod, listed.
    void findUsages();
    // Back to where the last jump came from (file and caret), and forward.
    void back();
    void forward();
    // The definitions of the name at `position`, one "file:line  line" each;
    // empty for no known name or while the index is built.
    QString definitionTip(long position);
    // What completes the name being typed (the mod's definitions, builtins,
    // reserved words, console names), with the files other programs changed
    // read again; none while the index is built. And the prototype line of a
    // function for its call tip; empty when unknown.
    std::vector<CompletionItem> completions(const NameAt& typed);
    std::string callTip(std::string_view function);

signals:
    // Places to list under the editor, their files relative to `base`.
    void listed(const QString& header, const QString& base,
                const std::vector<talmo::ListedMessage>& places);
    // The caret was put on a jump's target: show it.
    void placed();
    void log(const QString& line);

private:
    struct Place {
        std::filesystem::path file; // empty for none
        long caret = 0;
    };
    struct Index; // the index and its build

    void startBuild();
    std::optional<std::string> nameInMod(const std::filesystem::path& path) const;
    std::filesystem::path pathOf(const std::string& name) const;
    const DefinitionIndex* ready();
    // The index with the files other programs changed read again; nullptr
    // (nothing logged) while it is built.
    const DefinitionIndex* currentIndex();
    // The edited file's text in the editor, when the file belongs to the mod.
    std::optional<DefinitionIndex::EditedText> edited(std::string& text) const;
    // The definitions a jump to `name` goes to: for a "$name" in a file of
    // the mod the one frame definition it uses, else jumpTargets.
    std::vector<ModDefinition> targetsOf(const NameAt& name, const DefinitionIndex& mod,
                                         const DefinitionIndex::EditedText* edited) const;
    bool open(const std::filesystem::path& path);
    void step(std::vector<Place>& from, std::vector<Place>& to);

    Editor& m_editor;
    EditController& m_edit;
    WorkingDirectory& m_directory;
    std::unique_ptr<Index> m_index;
    std::vector<Place> m_back;
    std::vector<Place> m_forward;
};

} // namespace talmo
