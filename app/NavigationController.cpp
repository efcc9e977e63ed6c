// SPDX-License-Identifier: GPL-3.0-or-later
#include "NavigationController.h"

#include "DefinitionScan.h"
#include "EditController.h"
#include "Editor.h"
#include "NameAt.h"
#include "PathBytes.h"
#include "ReferencePages.h"
#include "TextBytes.h"
#include "WorkingDirectory.h"

#include <QDir>
#include <QFutureWatcher>
#include <QStringList>
#include <QtConcurrent/QtConcurrentRun>

#include <set>

namespace talmo {

struct NavigationController::Index {
    std::optional<DefinitionIndex> index;
    QString root; // the working directory the index, or the build under way, is of
    bool building = false;
    std::set<std::string> writtenDuringBuild; // read again when the build lands
    QFutureWatcher<DefinitionIndex> watcher;
};

NavigationController::NavigationController(Editor& editor, EditController& edit,
                                           WorkingDirectory& directory, QObject* parent)
    : QObject(parent), m_editor(editor), m_edit(edit), m_directory(directory),
      m_index(std::make_unique<Index>()) {
    connect(&m_index->watcher, &QFutureWatcherBase::finished, this, [this] {
        Index& nav = *m_index;
        nav.index = nav.watcher.future().takeResult();
        nav.building = false;
        for (const std::string& name : nav.writtenDuringBuild)
            nav.index->refreshFile(name);
        nav.writtenDuringBuild.clear();
    });
    connect(&edit, &EditController::written, this, &NavigationController::fileWritten);
    connect(&directory, &WorkingDirectory::changed, this, &NavigationController::directoryChanged);
    startBuild();
}

NavigationController::~NavigationController() = default;

void NavigationController::startBuild() {
    Index& nav = *m_index;
    nav.root = QDir(m_directory.path()).absolutePath();
    nav.index.reset();
    nav.building = true;
    nav.writtenDuringBuild.clear();
    const std::filesystem::path root = localPath(nav.root);
    nav.watcher.setFuture(QtConcurrent::run([root] { return DefinitionIndex::build(root); }));
}

void NavigationController::directoryChanged() {
    if (QDir(m_directory.path()).absolutePath() != m_index->root)
        startBuild();
}

bool NavigationController::indexReady() const {
    return !m_index->building && m_index->index &&
           QDir(m_directory.path()).absolutePath() == m_index->root;
}

const DefinitionIndex* NavigationController::currentIndex() {
    if (!indexReady())
        return nullptr;
    m_index->index->refreshChanged();
    return &*m_index->index;
}

std::optional<std::string>
NavigationController::nameInMod(const std::filesystem::path& path) const {
    if (path.empty() || m_index->root.isEmpty())
        return std::nullopt;
    return modFileName(m_directory.filePath(path), localPath(m_index->root));
}

std::filesystem::path NavigationController::pathOf(const std::string& name) const {
    return (localPath(m_index->root) / pathOfBytes(name)).lexically_normal();
}

void NavigationController::fileWritten(const QString& path) {
    const std::optional<std::string> name = nameInMod(localPath(path));
    if (!name)
        return;
    if (m_index->building)
        m_index->writtenDuringBuild.insert(*name);
    else if (m_index->index)
        m_index->index->refreshFile(*name);
}

const DefinitionIndex* NavigationController::ready() {
    directoryChanged();
    const DefinitionIndex* index = currentIndex();
    if (!index)
        emit log(QStringLiteral("The definitions of the mod are still being read"));
    return index;
}

std::optional<DefinitionIndex::EditedText> NavigationController::edited(std::string& text) const {
    const std::optional<std::string> name = nameInMod(m_edit.file());
    if (!name)
        return std::nullopt;
    text = m_editor.text();
    return DefinitionIndex::EditedText{*name, text};
}

std::vector<ModDefinition>
NavigationController::targetsOf(const NameAt& name, const DefinitionIndex& mod,
                                const DefinitionIndex::EditedText* editedText) const {
    if (name.afterDollar && editedText) {
        std::optional<ModDefinition> frame = mod.frameDefinitionAt(
            name.name, editedText->file, static_cast<std::size_t>(name.start), editedText);
        if (!frame)
            return {};
        return {std::move(*frame)};
    }
    return jumpTargets(mod.definitionsOf(name.name, editedText), name.afterDot);
}

bool NavigationController::open(const std::filesystem::path& path) {
    const std::filesystem::path current = m_edit.file();
    if (!current.empty() && m_directory.filePath(path).lexically_normal() ==
                                m_directory.filePath(current).lexically_normal())
        return true;
    // The autosave of the switch tells the index of the file it wrote.
    return m_edit.open(path);
}

bool NavigationController::goToDefinitionAt(long position) {
    const std::optional<NameAt> name =
        nameAt(m_editor, position < 0 ? m_editor.selectionStart() : position);
    if (!name) {
        emit log(QStringLiteral("No name to look up here"));
        return false;
    }
    const DefinitionIndex* index = ready();
    if (!index)
        return false;
    std::string text;
    const auto editedText = edited(text);
    const std::vector<ModDefinition> targets =
        targetsOf(*name, *index, editedText ? &*editedText : nullptr);
    const QString shown = textOfBytes(name->name);
    if (targets.empty()) {
        emit log(QStringLiteral("No definition of ") + shown + QStringLiteral(" in the mod"));
        return false;
    }
    if (targets.size() > 1) {
        std::vector<ListedMessage> places;
        for (const ModDefinition& d : targets)
            places.push_back({ListedMessage::Kind::Definition, pathOfBytes(d.file),
                              d.definition.line, d.definition.column + 1,
                              std::string(trimBlanks(d.lineText))});
        emit listed(QString::number(targets.size()) + QStringLiteral(" definitions of ") + shown,
                    m_index->root, places);
    }

    const ModDefinition& target = targets.front();
    const Place origin{m_edit.file(), m_editor.selectionStart()};
    if (!open(pathOf(target.file)))
        return false;
    m_back.push_back(origin);
    m_forward.clear();

    // The file as loaded can differ from what was indexed.
    Definition wanted = target.definition;
    wanted.name = name->name;
    if (const std::optional<std::size_t> at = definitionPlace(m_editor.text(), wanted)) {
        m_editor.setSelectionStart(static_cast<long>(*at));
        m_editor.setSelectionLength(static_cast<long>(name->name.size()));
    }
    emit placed();
    return true;
}

void NavigationController::findUsages() {
    const std::optional<NameAt> name = nameAt(m_editor, m_editor.selectionStart());
    if (!name) {
        emit log(QStringLiteral("No name to look up here"));
        return;
    }
    const DefinitionIndex* index = ready();
    if (!index)
        return;
    std::string text;
    const auto editedText = edited(text);
    const std::vector<ModUsage> usages =
        name->afterDollar && editedText
            ? index->frameUsagesAt(name->name, editedText->file,
                                   static_cast<std::size_t>(name->start), &*editedText)
            : index->usagesOf(name->name, editedText ? &*editedText : nullptr);
    std::vector<ListedMessage> places;
    places.reserve(usages.size());
    std::size_t files = 0;
    const std::string* lastFile = nullptr;
    std::filesystem::path file;
    for (const ModUsage& u : usages) {
        // Usages come file by file.
        if (!lastFile || *lastFile != u.file) {
            ++files;
            file = pathOfBytes(u.file);
        }
        lastFile = &u.file;
        places.push_back({ListedMessage::Kind::Usage, file, u.line, u.column + 1,
                          std::string(trimBlanks(u.lineText))});
    }
    const QString header = QString::number(usages.size()) + QStringLiteral(" usages of ") +
                           textOfBytes(name->name) + QStringLiteral(" in ") +
                           QString::number(files) + QStringLiteral(" files");
    emit listed(header, m_index->root, places);
    emit log(header);
}

// Steps to the last place of `from`, keeping where it left in `to`.
void NavigationController::step(std::vector<Place>& from, std::vector<Place>& to) {
    if (from.empty())
        return;
    const Place place = from.back();
    const Place here{m_edit.file(), m_editor.selectionStart()};
    // A place whose file no longer opens is dropped (the load logged it).
    from.pop_back();
    if (!place.file.empty() && !open(place.file))
        return;
    to.push_back(here);
    m_editor.setSelectionStart(place.caret);
    emit placed();
}

void NavigationController::back() {
    step(m_back, m_forward);
}

void NavigationController::forward() {
    step(m_forward, m_back);
}

QString NavigationController::definitionTip(long position) {
    const std::optional<NameAt> name = nameAt(m_editor, position);
    if (!name || !indexReady())
        return {};
    m_index->index->refreshChanged();
    std::string text;
    const auto editedText = edited(text);
    const std::vector<ModDefinition> targets =
        targetsOf(*name, *m_index->index, editedText ? &*editedText : nullptr);
    QStringList lines;
    for (const ModDefinition& d : targets)
        lines << fileNameText(pathOfBytes(d.file)) + QLatin1Char(':') +
                     QString::number(d.definition.line) + QStringLiteral("  ") +
                     textOfBytes(trimBlanks(d.lineText));
    return lines.join(QLatin1Char('\n'));
}

namespace {

// The words of the reference pages, read once.
const LanguageWords& languageWords() {
    static const LanguageWords words = [] {
        const auto page = [](int i) { return referencePageText(i).toLatin1().toStdString(); };
        return languageWordsOf(page(2), page(1), page(0));
    }();
    return words;
}

constexpr std::size_t kMaxCompletions = 200;

} // namespace

std::vector<CompletionItem> NavigationController::completions(const NameAt& typed) {
    const DefinitionIndex* index = currentIndex();
    return index ? completionsIn(*index, typed, languageWords(), kMaxCompletions)
                 : std::vector<CompletionItem>();
}

std::string NavigationController::callTip(std::string_view function) {
    const DefinitionIndex* index = currentIndex();
    return index ? prototypeOf(*index, function, languageWords()) : std::string();
}

} // namespace talmo
