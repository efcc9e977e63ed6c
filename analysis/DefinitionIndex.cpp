#include "DefinitionIndex.h"

#include "Editor.h" // FileError
#include "PathBytes.h"
#include "Text.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>
#include <thread>

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

// A relative path as a file name of the index: "/"-separated, in the bytes
// of pathBytes (PathBytes.h).
std::string nameOf(const fs::path& rel) {
#ifdef _WIN32
    const std::u8string utf8 = rel.generic_u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return rel.generic_string();
#endif
}

// `path` relative to `base` as a file name; empty when it lies outside.
std::string relativeName(const fs::path& path, const fs::path& base) {
    const fs::path rel = path.lexically_normal().lexically_relative(base);
    const std::string name = nameOf(rel);
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

// The line holding `offset` as a result shows it: a line longer than
// kShownLineBytes (a generated or minified file) is cut to that many bytes
// around the offset.
std::string shownLine(std::string_view text, std::size_t offset) {
    std::string_view line = lineAround(text, offset);
    if (line.size() > kShownLineBytes) {
        const std::size_t column = offset - static_cast<std::size_t>(line.data() - text.data());
        const std::size_t from = column > kShownLineBytes / 4 ? column - kShownLineBytes / 4 : 0;
        line = line.substr(std::min(from, line.size() - kShownLineBytes), kShownLineBytes);
    }
    return std::string(line);
}

// Reads a file of the mod into `text`; false when it does not read or is
// bigger than any source (kMaxSourceBytes).
bool readSource(const fs::path& path, std::string& text) {
    std::error_code ec;
    if (fs::file_size(path, ec) > kMaxSourceBytes && !ec)
        return false;
    try {
        text = readFileBytes(path);
    } catch (const FileError&) {
        return false;
    }
    return text.size() <= kMaxSourceBytes;
}

bool isRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace

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

std::vector<std::string> modSourceFiles(const fs::path& root) {
    const fs::path base = normalBase(root);
    std::vector<std::string> ordered;
    std::set<std::string> seen;
    std::error_code ec;

    std::vector<std::string> rest;
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
        if (it->is_directory(typeError) && path.filename().native().starts_with('.')) {
            it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file(typeError))
            continue;
        const std::string name = relativeName(path, base);
        if (name.empty())
            continue;
        if (path.parent_path() == base && equalsNoCase(nameOf(path.filename()), "progs.src")) {
            try {
                for (const std::string& listed : progsSourceList(readFileBytes(path))) {
                    const std::string rel = relativeName(base / pathOfBytes(listed), base);
                    if (!rel.empty() && isRegularFile(base / pathOfBytes(rel)) &&
                        seen.insert(rel).second)
                        ordered.push_back(rel);
                }
            } catch (const FileError&) {
                // An unreadable progs.src orders nothing.
            }
        }
        if (isQcFile(name))
            rest.push_back(name);
    }
    std::sort(rest.begin(), rest.end());
    for (std::string& name : rest)
        if (!seen.contains(name))
            ordered.push_back(std::move(name));
    return ordered;
}

DefinitionIndex DefinitionIndex::build(const fs::path& root) {
    return build(root, modSourceFiles(root));
}

DefinitionIndex DefinitionIndex::build(const fs::path& root,
                                       const std::vector<std::string>& files) {
    DefinitionIndex index;
    const fs::path base = normalBase(root);
    index.m_root = base;
    // Files are read and scanned on two threads, each taking every other
    // file; a file that does not read stays out.
    std::vector<File> read(files.size());
    auto readEvery = [&](std::size_t first) {
        for (std::size_t i = first; i < files.size(); i += 2) {
            if (!readSource(base / pathOfBytes(files[i]), read[i].text))
                continue; // vanished, unreadable or too big since the listing
            read[i].name = files[i];
            read[i].definitions = scanDefinitions(read[i].text);
            read[i].present = true;
        }
    };
    {
        std::optional<std::jthread> second;
        try {
            second.emplace(readEvery, 1);
        } catch (const std::system_error&) {
            readEvery(1); // no second thread: all on this one
        }
        readEvery(0);
    }
    for (File& file : read)
        if (file.present)
            index.m_files.push_back(std::move(file));
    // One table of the right size, filled once.
    std::size_t definitions = 0;
    for (const File& file : index.m_files)
        definitions += file.definitions.size();
    index.m_byName.reserve(definitions);
    for (std::size_t slot = 0; slot < index.m_files.size(); ++slot)
        index.enter(slot);
    return index;
}

std::size_t DefinitionIndex::fileCount() const {
    return static_cast<std::size_t>(
        std::count_if(m_files.begin(), m_files.end(), [](const File& f) { return f.present; }));
}

void DefinitionIndex::scan(std::size_t slot, std::string text) {
    File& file = m_files[slot];
    file.text = std::move(text);
    file.definitions = scanDefinitions(file.text);
    enter(slot);
}

void DefinitionIndex::enter(std::size_t slot) {
    File& file = m_files[slot];
    file.present = true;
    for (std::size_t i = 0; i < file.definitions.size(); ++i)
        m_byName[file.definitions[i].name].push_back({slot, i});
}

void DefinitionIndex::forget(std::size_t slot) {
    File& file = m_files[slot];
    for (const Definition& d : file.definitions) {
        const auto it = m_byName.find(d.name);
        if (it == m_byName.end())
            continue;
        std::erase_if(it->second, [slot](const Ref& r) { return r.file == slot; });
        if (it->second.empty())
            m_byName.erase(it);
    }
    file.definitions.clear();
    file.text.clear();
    file.present = false;
}

void DefinitionIndex::refreshFile(const std::string& name) {
    const auto known =
        std::find_if(m_files.begin(), m_files.end(), [&](const File& f) { return f.name == name; });
    if (known == m_files.end() && !isQcFile(name))
        return;
    std::string text;
    const bool readable = readSource(m_root / pathOfBytes(name), text);
    std::size_t slot = static_cast<std::size_t>(known - m_files.begin());
    if (known != m_files.end()) {
        forget(slot);
    } else if (readable) {
        m_files.push_back({name, {}, {}, false});
        slot = m_files.size() - 1;
    }
    if (readable)
        scan(slot, std::move(text));
}

std::size_t DefinitionIndex::slotOf(std::string_view name) const {
    const auto it =
        std::find_if(m_files.begin(), m_files.end(), [&](const File& f) { return f.name == name; });
    return static_cast<std::size_t>(it - m_files.begin());
}

std::vector<ModDefinition> DefinitionIndex::definitionsOf(std::string_view name,
                                                          const EditedText* edited) const {
    if (edited && slotOf(edited->file) == m_files.size() && !isQcFile(edited->file))
        edited = nullptr; // not a source of the mod
    // (file order, definition order) of each, the edited file in its place.
    std::vector<std::pair<std::pair<std::size_t, std::size_t>, ModDefinition>> keyed;
    const std::size_t editedSlot = edited ? slotOf(edited->file) : m_files.size() + 1;
    if (const auto it = m_byName.find(std::string(name)); it != m_byName.end()) {
        for (const Ref& r : it->second) {
            if (r.file == editedSlot)
                continue;
            const File& file = m_files[r.file];
            const Definition& d = file.definitions[r.definition];
            keyed.push_back(
                {{r.file, r.definition}, {file.name, d, shownLine(file.text, d.offset)}});
        }
    }
    if (edited) {
        const std::vector<Definition> own = scanDefinitions(edited->text);
        for (std::size_t i = 0; i < own.size(); ++i)
            if (own[i].name == name)
                keyed.push_back({{editedSlot, i},
                                 {edited->file, own[i], shownLine(edited->text, own[i].offset)}});
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ModDefinition> found;
    found.reserve(keyed.size());
    for (auto& k : keyed)
        found.push_back(std::move(k.second));
    return found;
}

std::vector<ModUsage> DefinitionIndex::usagesOf(std::string_view name,
                                                const EditedText* edited) const {
    if (edited && slotOf(edited->file) == m_files.size() && !isQcFile(edited->file))
        edited = nullptr; // not a source of the mod
    std::vector<ModUsage> found;
    auto add = [&](const std::string& file, std::string_view text) {
        for (const TextUsage& u : findUsagesInText(text, name))
            found.push_back({file, u.line, u.column,
                             shownLine(text.substr(u.lineStart, u.lineLength),
                                       static_cast<std::size_t>(u.column))});
    };
    bool editedDone = false;
    for (const File& file : m_files) {
        if (edited && file.name == edited->file) {
            add(edited->file, edited->text);
            editedDone = true;
        } else if (file.present) {
            add(file.name, file.text);
        }
    }
    if (edited && !editedDone)
        add(edited->file, edited->text);
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
