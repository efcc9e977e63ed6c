// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefinitionIndex.h"

#include "ByteSearch.h"
#include "Editor.h" // FileError
#include "PathBytes.h"
#include "Text.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace talmo {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldCase(static_cast<unsigned char>(x)) ==
                      foldCase(static_cast<unsigned char>(y));
           });
}

bool isQcFile(std::string_view name) {
    return name.size() > 3 && equalsNoCase(name.substr(name.size() - 3), ".qc");
}

// `path` relative to `base` as a file name; empty when it lies outside.
std::string relativeName(const fs::path& path, const fs::path& base) {
    const fs::path rel = path.lexically_normal().lexically_relative(base);
    const std::string name = genericPathBytes(rel);
    if (name.empty() || name == "." || name.starts_with("../") || name == "..")
        return {};
    return name;
}

fs::path normalBase(const fs::path& root) {
    fs::path base = fs::absolute(root).lexically_normal();
    if (!base.has_filename() && base.has_parent_path() && base != base.root_path())
        base = base.parent_path();
    return base;
}

constexpr std::size_t kMaxWalkedEntries = 100000;

// A line (without its line break) as a result shows it: one longer than
// kShownLineBytes (a generated or minified file) is cut to that many bytes
// around `column`.
std::string_view shownLine(std::string_view line, std::size_t column) {
    if (line.size() <= kShownLineBytes)
        return line;
    const std::size_t from = column > kShownLineBytes / 4 ? column - kShownLineBytes / 4 : 0;
    return line.substr(std::min(from, line.size() - kShownLineBytes), kShownLineBytes);
}

// Reads a file of the mod into `text` (its room used again); false when it
// does not read or is bigger than any source (kMaxSourceBytes).
bool readSource(const fs::path& path, std::string& text) {
    try {
        readFileBytesInto(path, text, kMaxSourceBytes);
    } catch (const FileError&) {
        return false;
    }
    return true;
}

// FNV-1a: names are short, and a table of the whole mod hashes each once.
std::uint32_t nameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

bool isRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace

std::optional<std::string> modFileName(const fs::path& path, const fs::path& root) {
    std::string name = relativeName(path, root);
    if (name.empty())
        return std::nullopt;
    return name;
}

// One stat where the system gives time and size at once.
std::optional<DefinitionIndex::Stamp> DefinitionIndex::stampOf(const fs::path& path) {
#ifdef _WIN32
    std::error_code ec;
    const fs::file_time_type modified = fs::last_write_time(path, ec);
    const std::uintmax_t size = ec || fs::is_directory(path, ec) ? 0 : fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    return Stamp{static_cast<std::int64_t>(modified.time_since_epoch().count()), size};
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return Stamp{static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                 static_cast<std::uintmax_t>(st.st_size)};
#endif
}

std::vector<std::string> progsSourceList(std::string_view text) {
    std::vector<std::string> names;
    bool first = true;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c <= ' ') {
            ++i;
            continue;
        }
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            const std::size_t end = text.find_first_of("\r\n", i);
            i = end == std::string_view::npos ? text.size() : end;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && static_cast<unsigned char>(text[end]) > ' ')
            ++end;
        std::string word(text.substr(i, end - i));
        i = end;
        if (first) {
            first = false;
            continue;
        }
        std::replace(word.begin(), word.end(), '\\', '/');
        names.push_back(std::move(word));
    }
    return names;
}

namespace {

// The files of the mod under `base` (absolute, normal), as modSourceFiles;
// `places`, when given, receives what the list is made from: the folders
// walked and progs.src.
std::vector<std::string> listSources(const fs::path& base, std::vector<fs::path>* places) {
    std::error_code ec;
    if (places)
        places->assign(1, base);

    std::vector<std::string> walked; // the .qc files
    std::optional<fs::path> progs;
    std::size_t visited = 0;
    for (fs::recursive_directory_iterator
             it(base, fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
        // A working directory far bigger than any mod (a home folder, a
        // root) is only partly walked; hidden folders (.git) are skipped.
        if (++visited > kMaxWalkedEntries)
            break;
        const fs::path& path = it->path();
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            if (path.filename().native().starts_with('.'))
                it.disable_recursion_pending();
            else if (places)
                places->push_back(path);
            continue;
        }
        if (!it->is_regular_file(typeError))
            continue;
        if (path.parent_path() == base && equalsNoCase(pathBytes(path.filename()), "progs.src"))
            progs = path;
        if (isQcFile(pathBytes(path.filename())))
            if (std::string name = relativeName(path, base); !name.empty())
                walked.push_back(std::move(name));
    }
    std::sort(walked.begin(), walked.end());

    std::vector<std::string> ordered;
    std::set<std::string> seen;
    if (progs && places)
        places->push_back(*progs);
    if (progs) {
        try {
            for (const std::string& listed : progsSourceList(readFileBytes(*progs))) {
                const std::string rel = relativeName(base / pathOfBytes(listed), base);
                // Most listed files were just walked; others (a header, a
                // file in a hidden folder) are looked up.
                if (!rel.empty() &&
                    (std::binary_search(walked.begin(), walked.end(), rel) ||
                     isRegularFile(base / pathOfBytes(rel))) &&
                    seen.insert(rel).second)
                    ordered.push_back(rel);
            }
        } catch (const FileError&) {
            // An unreadable progs.src orders nothing.
        }
    }
    for (std::string& name : walked)
        if (!seen.contains(name))
            ordered.push_back(std::move(name));
    return ordered;
}

} // namespace

std::vector<std::string> modSourceFiles(const fs::path& root) {
    return listSources(normalBase(root), nullptr);
}

DefinitionIndex DefinitionIndex::build(const fs::path& root) {
    std::vector<fs::path> places;
    DefinitionIndex index = build(root, listSources(normalBase(root), &places));
    index.m_listing = stampsOf(places);
    return index;
}

std::vector<std::pair<fs::path, DefinitionIndex::Stamp>>
DefinitionIndex::stampsOf(const std::vector<fs::path>& places) {
    std::vector<std::pair<fs::path, Stamp>> stamps;
    // A walk of a folder far bigger than a mod is not repeated on every look.
    if (places.size() > kMaxWatchedPlaces)
        return stamps;
    for (const fs::path& place : places)
        stamps.emplace_back(place, stampOf(place).value_or(Stamp{}));
    return stamps;
}

DefinitionIndex DefinitionIndex::build(const fs::path& root,
                                       const std::vector<std::string>& files) {
    DefinitionIndex index;
    const fs::path base = normalBase(root);
    index.m_root = base;
    // Files are read and scanned on two threads, each taking the next file
    // not yet taken (a thread that starts late or is held up takes fewer),
    // through a buffer of its own; a file that does not read stays out.
    std::vector<File> read(files.size());
    std::atomic<std::size_t> next{0};
    auto readFiles = [&] {
        std::string text;
        std::vector<Definition> found;
        for (std::size_t i = next++; i < files.size(); i = next++)
            read[i] = readFile(base, files[i], text, found);
    };
    {
        std::optional<std::jthread> second;
        try {
            second.emplace(readFiles);
        } catch (const std::system_error&) {
            // no second thread: all on this one
        }
        readFiles();
    }
    for (File& file : read)
        if (file.present)
            index.m_files.push_back(std::move(file));
    index.rebuildTable();
    return index;
}

std::size_t DefinitionIndex::fileCount() const {
    return static_cast<std::size_t>(
        std::count_if(m_files.begin(), m_files.end(), [](const File& f) { return f.present; }));
}

DefinitionIndex::File DefinitionIndex::readFile(const fs::path& root, const std::string& name,
                                                std::string& text, std::vector<Definition>& found) {
    const fs::path path = root / pathOfBytes(name);
    // Seen before the read: a change while it is read shows at the next look.
    const std::optional<Stamp> stamp = stampOf(path);
    if (!stamp || !readSource(path, text))
        return File{name, {}, {}, {}, {}, false, {}};
    return fileOfText(name, text, found, *stamp);
}

DefinitionIndex::File DefinitionIndex::fileOfText(const std::string& name, std::string_view text,
                                                  std::vector<Definition>& found, Stamp stamp) {
    found.clear();
    scanDefinitionsInto(text, found);
    // Sized once: the definitions are most of an index.
    File file{name, {found.begin(), found.end()}, {}, {}, {}, true, stamp};
    file.lineOf.reserve(found.size());
    file.nameHashes.reserve(found.size());
    // Definitions on one line ($frame, "float a, b;") share it, unless it is
    // so long that each shows its own part. A line's end is looked for once.
    std::size_t lastLineStart = std::string_view::npos;
    std::string_view line;
    for (const Definition& d : found) {
        const auto column = static_cast<std::size_t>(d.column);
        const std::size_t lineStart = d.offset - column;
        const bool sameLine = lineStart == lastLineStart;
        if (!sameLine)
            line = text.substr(lineStart, lineEndOf(text, d.offset) - lineStart);
        lastLineStart = lineStart;
        if (!sameLine || line.size() > kShownLineBytes) {
            const std::string_view shown = shownLine(line, column);
            file.lineOf.emplace_back(static_cast<std::uint32_t>(file.lines.size()),
                                     static_cast<std::uint32_t>(shown.size()));
            file.lines += shown;
        } else {
            file.lineOf.push_back(file.lineOf.back());
        }
        file.nameHashes.push_back(nameHash(d.name));
    }
    return file;
}

void DefinitionIndex::rebuildTable() {
    m_firstOfFile.assign(1, 0);
    std::vector<std::uint32_t> hashes;
    for (const File& file : m_files) {
        hashes.insert(hashes.end(), file.nameHashes.begin(), file.nameHashes.end());
        m_firstOfFile.push_back(static_cast<std::uint32_t>(hashes.size()));
    }
    std::size_t buckets = 16;
    while (buckets < hashes.size())
        buckets *= 2;
    const std::uint32_t mask = static_cast<std::uint32_t>(buckets - 1);
    // Count each bucket, turn the counts into starts, fill each bucket from
    // its start (which moves each start to the next bucket's), move back.
    m_bucketStart.assign(buckets + 1, 0);
    for (const std::uint32_t hash : hashes)
        ++m_bucketStart[hash & mask];
    std::uint32_t total = 0;
    for (std::uint32_t& start : m_bucketStart)
        total += std::exchange(start, total);
    m_entries.resize(hashes.size());
    m_entryHashes.resize(hashes.size());
    for (std::uint32_t id = 0; id < hashes.size(); ++id) {
        const std::uint32_t at = m_bucketStart[hashes[id] & mask]++;
        m_entries[at] = id;
        m_entryHashes[at] = hashes[id];
    }
    std::copy_backward(m_bucketStart.begin(), m_bucketStart.end() - 1, m_bucketStart.end());
    m_bucketStart[0] = 0;
}

void DefinitionIndex::refreshFile(const std::string& name) {
    const std::size_t slot = slotOf(name);
    if ((slot == m_files.size() && !isQcFile(name)) || m_open.contains(name))
        return;
    std::string text;
    std::vector<Definition> found;
    File file = readFile(m_root, name, text, found);
    if (slot < m_files.size())
        m_files[slot] = std::move(file);
    else if (file.present)
        m_files.push_back(std::move(file));
    rebuildTable();
}

std::size_t DefinitionIndex::refreshChanged() {
    std::string text;
    std::vector<Definition> found;
    // A file added, removed or renamed changes its folder's time; a
    // progs.src edited may order the files anew.
    std::size_t changed = 0;
    if (std::any_of(m_listing.begin(), m_listing.end(), [](const auto& place) {
            return stampOf(place.first).value_or(Stamp{}) != place.second;
        }))
        changed += relist(text, found);
    for (File& file : m_files) {
        if (m_open.contains(file.name))
            continue;
        const std::optional<Stamp> now = stampOf(m_root / pathOfBytes(file.name));
        // A dropped file counts again once it is back.
        if (now ? file.present && *now == file.stamp : !file.present)
            continue;
        file = readFile(m_root, file.name, text, found);
        ++changed;
    }
    if (changed > 0)
        rebuildTable();
    return changed;
}

std::size_t DefinitionIndex::relist(std::string& text, std::vector<Definition>& found) {
    std::vector<fs::path> places;
    const std::vector<std::string> names = listSources(m_root, &places);
    m_listing = stampsOf(places);
    std::unordered_map<std::string, std::size_t> known;
    for (std::size_t i = 0; i < m_files.size(); ++i)
        known.emplace(m_files[i].name, i);
    std::vector<bool> taken(m_files.size());
    std::vector<File> files;
    files.reserve(names.size());
    std::size_t changed = 0;
    for (const std::string& name : names) {
        if (const auto it = known.find(name); it != known.end()) {
            files.push_back(std::move(m_files[it->second]));
            taken[it->second] = true;
        } else if (File file = readFile(m_root, name, text, found); file.present) {
            files.push_back(std::move(file));
            ++changed;
        }
    }
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        if (taken[i])
            continue;
        if (m_open.contains(m_files[i].name)) // an open text not yet on disk stays
            files.push_back(std::move(m_files[i]));
        else
            changed += m_files[i].present; // gone from the list
    }
    m_files = std::move(files);
    return changed;
}

std::size_t DefinitionIndex::slotOf(std::string_view name) const {
    const auto it =
        std::find_if(m_files.begin(), m_files.end(), [&](const File& f) { return f.name == name; });
    return static_cast<std::size_t>(it - m_files.begin());
}

std::size_t DefinitionIndex::slotOfEdited(const EditedText* edited) const {
    if (!edited)
        return kNoSlot;
    const std::size_t slot = slotOf(edited->file);
    return slot < m_files.size() || isQcFile(edited->file) ? slot : kNoSlot;
}

std::string DefinitionIndex::lineText(const File& file, std::size_t definition) {
    const auto [start, length] = file.lineOf[definition];
    return file.lines.substr(start, length);
}

std::vector<ModDefinition> DefinitionIndex::definitionsOf(std::string_view name,
                                                          const EditedText* edited) const {
    const std::size_t editedSlot = slotOfEdited(edited);
    // (file order, definition order) of each, the edited file in its place.
    std::vector<std::pair<std::pair<std::size_t, std::size_t>, ModDefinition>> keyed;
    if (!m_bucketStart.empty()) {
        const std::uint32_t hash = nameHash(name);
        const std::size_t bucket = hash & (m_bucketStart.size() - 2);
        for (std::uint32_t at = m_bucketStart[bucket]; at < m_bucketStart[bucket + 1]; ++at) {
            if (m_entryHashes[at] != hash)
                continue;
            const std::uint32_t id = m_entries[at];
            const std::size_t f = static_cast<std::size_t>(
                std::upper_bound(m_firstOfFile.begin(), m_firstOfFile.end(), id) -
                m_firstOfFile.begin() - 1);
            const std::size_t d = id - m_firstOfFile[f];
            const File& file = m_files[f];
            if (f != editedSlot && file.definitions[d].name == name)
                keyed.push_back({{f, d}, {file.name, file.definitions[d], lineText(file, d)}});
        }
    }
    if (editedSlot <= m_files.size()) {
        const std::vector<Definition> own = scanDefinitions(edited->text);
        for (std::size_t i = 0; i < own.size(); ++i)
            if (own[i].name == name)
                keyed.push_back(
                    {{editedSlot, i},
                     {edited->file, own[i],
                      std::string(shownLine(lineAround(edited->text, own[i].offset),
                                            static_cast<std::size_t>(own[i].column)))}});
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ModDefinition> found;
    found.reserve(keyed.size());
    for (auto& k : keyed)
        found.push_back(std::move(k.second));
    return found;
}

template <typename Visit>
void DefinitionIndex::forEachText(const EditedText* edited, Visit visit) const {
    const std::size_t editedSlot = slotOfEdited(edited);
    std::string text;
    for (std::size_t slot = 0; slot <= m_files.size(); ++slot) {
        if (slot == editedSlot)
            visit(edited->file, slot, edited->text);
        else if (const auto open =
                     slot < m_files.size() ? m_open.find(m_files[slot].name) : m_open.end();
                 open != m_open.end())
            visit(open->first, slot, std::string_view(open->second));
        else if (slot < m_files.size() && m_files[slot].present &&
                 readSource(m_root / pathOfBytes(m_files[slot].name), text))
            visit(m_files[slot].name, slot, std::string_view(text));
    }
}

namespace {

ModUsage usageIn(const std::string& file, std::string_view text, const TextUsage& u) {
    return {file, u.line, u.column,
            std::string(shownLine(text.substr(u.lineStart, u.lineLength),
                                  static_cast<std::size_t>(u.column)))};
}

} // namespace

std::vector<ModUsage> DefinitionIndex::usagesOf(std::string_view name,
                                                const EditedText* edited) const {
    std::vector<ModUsage> found;
    forEachText(edited, [&](const std::string& file, std::size_t, std::string_view text) {
        for (const TextUsage& u : findUsagesInText(text, name))
            found.push_back(usageIn(file, text, u));
    });
    return found;
}

std::size_t DefinitionIndex::orderOf(std::string_view file, const EditedText* edited) const {
    if (edited && file == edited->file) {
        const std::size_t slot = slotOfEdited(edited);
        return slot == kNoSlot ? m_files.size() + 1 : slot;
    }
    const std::size_t slot = slotOf(file);
    return slot < m_files.size() ? slot : m_files.size() + 1;
}

std::optional<ModDefinition> DefinitionIndex::frameDefinitionAt(std::string_view name,
                                                                std::string_view file,
                                                                std::size_t offset,
                                                                const EditedText* edited) const {
    const std::pair<std::size_t, std::size_t> use{orderOf(file, edited), offset};
    std::optional<ModDefinition> last;
    for (ModDefinition& d : definitionsOf(name, edited))
        if (d.definition.kind == DefinitionKind::Frame &&
            std::pair{orderOf(d.file, edited), d.definition.offset} <= use)
            last = std::move(d);
    return last;
}

std::vector<ModUsage> DefinitionIndex::frameUsagesAt(std::string_view name, std::string_view file,
                                                     std::size_t offset,
                                                     const EditedText* edited) const {
    std::vector<ModUsage> found;
    const std::optional<ModDefinition> target = frameDefinitionAt(name, file, offset, edited);
    if (!target)
        return found;
    // The places of the name's $frame definitions, in file order.
    using Place = std::pair<std::size_t, std::size_t>; // order, offset
    std::vector<Place> frames;
    for (const ModDefinition& d : definitionsOf(name, edited))
        if (d.definition.kind == DefinitionKind::Frame)
            frames.emplace_back(orderOf(d.file, edited), d.definition.offset);
    const Place wanted{orderOf(target->file, edited), target->definition.offset};
    auto usesWanted = [&](const Place& at) {
        const auto after = std::upper_bound(frames.begin(), frames.end(), at);
        return after != frames.begin() && *(after - 1) == wanted;
    };
    forEachText(edited, [&](const std::string& f, std::size_t, std::string_view text) {
        const std::size_t order = orderOf(f, edited);
        for (const TextUsage& u : findUsagesInText(text, name)) {
            const Place at{order, u.lineStart + static_cast<std::size_t>(u.column)};
            const bool macro = at.second > 0 && text[at.second - 1] == '$';
            if (at == wanted || (macro && usesWanted(at)))
                found.push_back(usageIn(f, text, u));
        }
    });
    return found;
}

void DefinitionIndex::setOpenText(const std::string& file, std::string text) {
    if (!isQcFile(file) && slotOf(file) == m_files.size())
        return;
    std::vector<Definition> found;
    File scanned = fileOfText(file, text, found, Stamp{});
    if (const std::size_t slot = slotOf(file); slot < m_files.size())
        m_files[slot] = std::move(scanned);
    else
        m_files.push_back(std::move(scanned));
    m_open[file] = std::move(text);
    rebuildTable();
}

void DefinitionIndex::closeText(const std::string& file) {
    if (m_open.erase(file) == 0)
        return;
    std::string text;
    std::vector<Definition> found;
    const std::size_t slot = slotOf(file);
    File read = readFile(m_root, file, text, found);
    if (slot < m_files.size())
        m_files[slot] = std::move(read);
    rebuildTable();
}

std::vector<ModDefinition>
DefinitionIndex::definitionsWhere(const std::function<bool(const Definition&)>& keep,
                                  std::size_t limit) const {
    std::vector<ModDefinition> found;
    for (const File& file : m_files)
        for (std::size_t d = 0; d < file.definitions.size(); ++d) {
            if (!keep(file.definitions[d]))
                continue;
            if (found.size() == limit)
                return found;
            found.push_back({file.name, file.definitions[d], lineText(file, d)});
        }
    return found;
}

std::vector<ModDefinition> jumpTargets(std::vector<ModDefinition> found, bool afterDot) {
    auto keepIfAny = [&found](auto keep) {
        if (std::any_of(found.begin(), found.end(), keep))
            std::erase_if(found, [&](const ModDefinition& d) { return !keep(d); });
    };
    keepIfAny([afterDot](const ModDefinition& d) {
        return (d.definition.kind == DefinitionKind::Field) == afterDot;
    });
    if (std::any_of(found.begin(), found.end(), [](const ModDefinition& d) {
            return d.definition.kind == DefinitionKind::Function;
        }))
        std::erase_if(found, [](const ModDefinition& d) {
            return d.definition.kind == DefinitionKind::Prototype;
        });
    return found;
}

} // namespace talmo
