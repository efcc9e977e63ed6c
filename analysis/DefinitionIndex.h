// SPDX-License-Identifier: GPL-3.0-or-later
// The definitions of a whole mod: every ".qc" file under a directory (and
// every other file its progs.src lists there), read from disk, with the
// definitions of DefinitionScan.h. Answers "where is X defined" from what it
// kept (the definitions and their lines, not the whole texts) and "where is
// X used" by reading the files again, as the reports do.
//
// File names are relative to the indexed directory, "/"-separated, in the
// bytes of pathBytes (PathBytes.h): the file-name bytes on POSIX, UTF-8 on
// Windows. Files are ordered as progs.src lists them, then the rest sorted by
// name. A file that cannot be read (vanished, unreadable, no regular file) or
// is bigger than kMaxSourceBytes is left out, and so are hidden folders
// (".git") and whatever lies past the first 100,000 entries of the walk.
//
// Not thread-safe: build it on any thread, then use it on one.
#pragma once

#include "DefinitionScan.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talmo {

// `path` as the index names a file of the mod under `root`: relative to it,
// "/"-separated, in the bytes of pathBytes; nullopt when it lies outside.
std::optional<std::string> modFileName(const std::filesystem::path& path,
                                       const std::filesystem::path& root);

// The files of the mod under `root`, relative to it, in index order.
std::vector<std::string> modSourceFiles(const std::filesystem::path& root);

// The file names a progs.src text lists, in its order: every word after the
// first (the output file), "//" comments skipped, backslashes turned into "/".
std::vector<std::string> progsSourceList(std::string_view text);

// Bigger files are no sources anyone edits by hand (generated data, a
// mistake); they stay out of the index.
inline constexpr std::size_t kMaxSourceBytes = 16u << 20;

// Lines of results are cut to this many bytes around the name.
inline constexpr std::size_t kShownLineBytes = 400;

struct ModDefinition {
    std::string file;
    Definition definition;
    std::string lineText; // the definition's line, without its line break
};

struct ModUsage {
    std::string file;
    int line = 0;
    int column = 0;
    std::string lineText;
};

class DefinitionIndex {
public:
    DefinitionIndex() = default;
    // Reads and scans every file of the mod under `root`.
    static DefinitionIndex build(const std::filesystem::path& root);
    // The same for the given files (relative to `root`, in index order).
    static DefinitionIndex build(const std::filesystem::path& root,
                                 const std::vector<std::string>& files);

    std::size_t fileCount() const;

    // Reads `file` (relative to the root) again: a file that no longer reads
    // is dropped, a new one is added after the others.
    void refreshFile(const std::string& file);
    // Reads again every file whose modification time or size is no longer
    // what it was when read (changed by another program): one that no longer
    // reads is dropped, a dropped one that is back is taken again. An index
    // built from a directory also lists the mod again when one of its folders
    // or its progs.src changed: new files are read, the gone ones dropped, all
    // put in the order of the new list. Returns how many files changed; when
    // none did, it costs a stat of each file and folder.
    std::size_t refreshChanged();

    // A file's text as the editor holds it (unsaved edits included), which
    // the searches below use instead of what the index read from disk.
    struct EditedText {
        std::string file;
        std::string_view text;
    };

    // Every definition named exactly `name`, in file order, then line order.
    std::vector<ModDefinition> definitionsOf(std::string_view name,
                                             const EditedText* edited = nullptr) const;

    // Every use of `name` in the mod (whole word, exact case, outside
    // comments and strings), in file order, then text order. The files are
    // read again; one that no longer reads has none.
    std::vector<ModUsage> usagesOf(std::string_view name, const EditedText* edited = nullptr) const;

    // A file's text as an editor holds it, standing for the file until
    // closeText: its definitions and usages are taken from it instead of the
    // disk, for every search. A file that is no source of the mod is ignored.
    void setOpenText(const std::string& file, std::string text);
    // The file is read from the disk again.
    void closeText(const std::string& file);

    // The definitions `keep` accepts, in file order, then line order; at most
    // `limit` of them.
    std::vector<ModDefinition> definitionsWhere(const std::function<bool(const Definition&)>& keep,
                                                std::size_t limit) const;

    // Frame names are scoped as the compiler reads them: a $frame line
    // defines a name from there on, a later one redefines it, and an earlier
    // file's stands where nothing redefined it. For the "$name" at byte
    // `offset` of `file` (a file of the index or the edited one; offsets in
    // its text), the $frame definition it uses: the last one at or before
    // that place in file order; nullopt when none comes before it.
    std::optional<ModDefinition> frameDefinitionAt(std::string_view name, std::string_view file,
                                                   std::size_t offset,
                                                   const EditedText* edited = nullptr) const;
    // Every "$name" that uses the same definition as the one at `offset` of
    // `file`, and that definition's own name on its $frame line, in file
    // order, then text order. Empty when no definition comes before it.
    std::vector<ModUsage> frameUsagesAt(std::string_view name, std::string_view file,
                                        std::size_t offset,
                                        const EditedText* edited = nullptr) const;

private:
    // A file's modification time (in the system's units) and size.
    struct Stamp {
        std::int64_t modified = 0;
        std::uintmax_t size = 0;
        bool operator==(const Stamp&) const = default;
    };
    static std::optional<Stamp> stampOf(const std::filesystem::path& path);

    static constexpr std::size_t kMaxWatchedPlaces = 256;
    static std::vector<std::pair<std::filesystem::path, Stamp>>
    stampsOf(const std::vector<std::filesystem::path>& places);
    // Lists the mod again: new files are read, gone ones dropped, all in the
    // new order. Returns how many came or went; the table is left to rebuild.
    std::size_t relist(std::string& text, std::vector<Definition>& found);

    struct File {
        std::string name;
        std::vector<Definition> definitions;
        // The line of each definition as results show it, one after another
        // (a line that several definitions share is kept once), and where
        // each definition's line lies in it.
        std::string lines;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> lineOf; // start, length
        std::vector<std::uint32_t> nameHashes; // of each definition, for the table
        bool present = false;
        Stamp stamp; // as seen just before the file was read
    };

    // Reads and scans the file `name` under `root`; a file that does not
    // read is returned not present. `text` and `found` are room for the read
    // and the scan, used again from file to file.
    static File readFile(const std::filesystem::path& root, const std::string& name,
                         std::string& text, std::vector<Definition>& found);
    static File fileOfText(const std::string& name, std::string_view text,
                           std::vector<Definition>& found, Stamp stamp);
    static std::string lineText(const File& file, std::size_t definition);
    void rebuildTable();
    // The slot of a file; m_files.size() when it has none.
    std::size_t slotOf(std::string_view name) const;
    // The slot of the edited file: m_files.size() for a source of the mod the
    // index has not seen yet, kNoSlot without one or for a file that is no
    // source of the mod.
    static constexpr std::size_t kNoSlot = SIZE_MAX;
    std::size_t slotOfEdited(const EditedText* edited) const;
    // Where `file` comes in file order: its slot; a file the index does not
    // hold (nor the edited one) after all others.
    std::size_t orderOf(std::string_view file, const EditedText* edited) const;
    // Calls `visit(file, slot, text)` for each readable file in file order,
    // the edited text standing in for its file.
    template <typename Visit> void forEachText(const EditedText* edited, Visit visit) const;

    std::filesystem::path m_root; // absolute
    std::vector<File> m_files;    // in file order; dropped files stay as empty slots
    std::map<std::string, std::string, std::less<>> m_open; // texts that stand for their files
    // What the list of files was made from, as it was then; empty for an
    // index built from a list.
    std::vector<std::pair<std::filesystem::path, Stamp>> m_listing;

    // The table that finds definitions by name, rebuilt whole when a file
    // changes: definitions are numbered through the files in order, and
    // hashed by name into as many buckets as there are definitions (a power
    // of two); each bucket is a run of m_entries, with each entry's hash
    // beside it. A pass over the definitions and no allocation for a name.
    std::vector<std::uint32_t> m_firstOfFile; // the number of each file's first definition
    std::vector<std::uint32_t> m_bucketStart; // into m_entries; one more than the buckets
    std::vector<std::uint32_t> m_entries;     // definition numbers
    std::vector<std::uint32_t> m_entryHashes;
};

// The definitions a jump goes to among `found`: a body rather than the
// prototypes of the same name; after a "." the fields, elsewhere everything
// but fields, whenever such remain. Order kept.
std::vector<ModDefinition> jumpTargets(std::vector<ModDefinition> found, bool afterDot);

} // namespace talmo
