// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation across the whole mod: go to a definition (F12, Ctrl+click),
// every usage of a name (Shift+F12), back and forward (Alt+Left/Right), and
// the definition shown when the pointer rests on a name. The definition
// index is built off the window's thread whenever the working directory
// changes, and follows each file Talmo writes.
#include "TForm1.h"

#include "DefinitionIndex.h"
#include "DirectoryList.h"
#include "EditController.h"
#include "EventHook.h"
#include "MessageList.h"
#include "NameAt.h"
#include "PathBytes.h"
#include "QsciEditor.h"
#include "TextBytes.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMouseEvent>
#include <QTextDocument> // Qt::convertFromPlainText
#include <QTimer>
#include <QToolTip>
#include <QtConcurrent/QtConcurrentRun>

#include <optional>
#include <set>

namespace {

// A place to come back to: a file (empty for none) and the caret in it.
struct Place {
    std::filesystem::path file;
    long caret = 0;
};

using talmo::NameAt;

QString bytesText(std::string_view bytes) {
    return talmo::textOfBytes(bytes);
}

} // namespace

struct TForm1::Navigation {
    std::optional<talmo::DefinitionIndex> index;
    QString root; // the working directory the index, or the build under way, is of
    bool building = false;
    std::set<std::string> writtenDuringBuild; // read again when the build lands
    QFutureWatcher<talmo::DefinitionIndex>* watcher = nullptr;
    std::vector<Place> back;
    std::vector<Place> forward;

    // A path's name inside the indexed directory; nullopt outside it.
    std::optional<std::string> nameInMod(const std::filesystem::path& path) const {
        if (path.empty() || root.isEmpty())
            return std::nullopt;
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(path, error);
        if (error)
            return std::nullopt;
        return talmo::modFileName(absolute, talmo::localPath(root));
    }
    std::filesystem::path pathOf(const std::string& name) const {
        return (talmo::localPath(root) / talmo::pathOfBytes(name)).lexically_normal();
    }

    // The index of the working directory, with the files other programs
    // changed read again, or nullptr (logged) while it is built; a changed
    // working directory starts a new build.
    const talmo::DefinitionIndex* ready(TForm1& form);
    // The edited file's text in the editor, when the file belongs to the mod.
    std::optional<talmo::DefinitionIndex::EditedText> edited(TForm1& form, std::string& text) const;
    // The definitions a jump to `name` goes to: for a "$name" in a file of
    // the mod the one frame definition it uses, else jumpTargets.
    std::vector<talmo::ModDefinition>
    targetsOf(const NameAt& name, const talmo::DefinitionIndex& mod,
              const talmo::DefinitionIndex::EditedText* edited) const;
    // The file in the editor; empty when none.
    static std::filesystem::path editedPath(const TForm1& form) { return form.m_edit->file(); }
    // Shows `path` in the editor; the edited file stays as it is.
    bool open(TForm1& form, const std::filesystem::path& path);
    void step(TForm1& form, std::vector<Place>& from, std::vector<Place>& to);
};

void TForm1::NavigationDeleter::operator()(Navigation* navigation) const {
    delete navigation;
}

void TForm1::wireNavigation() {
    m_navigation.reset(new Navigation);
    m_navigation->watcher = new QFutureWatcher<talmo::DefinitionIndex>(this);
    connect(m_navigation->watcher, &QFutureWatcherBase::finished, this, [this] {
        Navigation& nav = *m_navigation;
        nav.index = nav.watcher->future().takeResult();
        nav.building = false;
        for (const std::string& name : nav.writtenDuringBuild)
            nav.index->refreshFile(name);
        nav.writtenDuringBuild.clear();
    });

    auto shortcut = [this](const char* name, const QString& text, const QKeySequence& keys,
                           void (TForm1::*handler)()) {
        auto* action = new QAction(text, talmo);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        talmo->addAction(action);
        connect(action, &QAction::triggered, this, handler);
    };
    shortcut("gotodefinition1", QStringLiteral("Go to definition"), QKeySequence(Qt::Key_F12),
             &TForm1::gotoDefinitionClick);
    shortcut("findusages1", QStringLiteral("Find usages"), QKeySequence(Qt::SHIFT | Qt::Key_F12),
             &TForm1::findUsagesClick);
    shortcut("navigateback1", QStringLiteral("Back"), QKeySequence(Qt::ALT | Qt::Key_Left),
             &TForm1::navigateBackClick);
    shortcut("navigateforward1", QStringLiteral("Forward"), QKeySequence(Qt::ALT | Qt::Key_Right),
             &TForm1::navigateForwardClick);

    // Ctrl+click: once the editor has placed the caret.
    talmo::EventHook::install(talmo->viewport(), QEvent::MouseButtonRelease, [this](QEvent* e) {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ControlModifier))
            return;
        const QPoint at = mouse->position().toPoint();
        const long position = talmo->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE,
                                                   static_cast<unsigned long>(at.x()), at.y());
        if (position >= 0)
            QTimer::singleShot(0, this, [this, position] { goToDefinitionAt(position); });
    });

    talmo->SendScintilla(QsciScintillaBase::SCI_SETMOUSEDWELLTIME, 600);
    connect(talmo, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int position, int x, int y) {
        const QString tip = definitionTip(position);
        if (!tip.isEmpty())
            QToolTip::showText(talmo->viewport()->mapToGlobal(QPoint(x, y)),
                               Qt::convertFromPlainText(tip, Qt::WhiteSpaceNoWrap), talmo);
    });
    connect(talmo, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });

    startIndexBuild();
}

void TForm1::startIndexBuild() {
    Navigation& nav = *m_navigation;
    nav.root = QDir(workingDirectory()).absolutePath();
    nav.index.reset();
    nav.building = true;
    nav.writtenDuringBuild.clear();
    const std::filesystem::path root = talmo::localPath(nav.root);
    nav.watcher->setFuture(
        QtConcurrent::run([root] { return talmo::DefinitionIndex::build(root); }));
}

void TForm1::workingDirectoryChanged() {
    if (QDir(workingDirectory()).absolutePath() != m_navigation->root)
        startIndexBuild();
}

void TForm1::fileWritten(const QString& path) {
    Navigation& nav = *m_navigation;
    const std::optional<std::string> name = nav.nameInMod(talmo::localPath(path));
    if (!name)
        return;
    if (nav.building)
        nav.writtenDuringBuild.insert(*name);
    else if (nav.index)
        nav.index->refreshFile(*name);
}

bool TForm1::definitionIndexReady() const {
    return !m_navigation->building && m_navigation->index &&
           QDir(workingDirectory()).absolutePath() == m_navigation->root;
}

const talmo::DefinitionIndex* TForm1::Navigation::ready(TForm1& form) {
    form.workingDirectoryChanged();
    if (!form.definitionIndexReady()) {
        form.LogLine(QStringLiteral("The definitions of the mod are still being read"));
        return nullptr;
    }
    index->refreshChanged();
    return &*index;
}

std::optional<talmo::DefinitionIndex::EditedText>
TForm1::Navigation::edited(TForm1& form, std::string& text) const {
    const std::optional<std::string> name = nameInMod(editedPath(form));
    if (!name)
        return std::nullopt;
    text = form.talmo->text();
    return talmo::DefinitionIndex::EditedText{*name, text};
}

std::vector<talmo::ModDefinition>
TForm1::Navigation::targetsOf(const NameAt& name, const talmo::DefinitionIndex& mod,
                              const talmo::DefinitionIndex::EditedText* edited) const {
    if (name.afterDollar && edited) {
        std::optional<talmo::ModDefinition> frame = mod.frameDefinitionAt(
            name.name, edited->file, static_cast<std::size_t>(name.start), edited);
        if (!frame)
            return {};
        return {std::move(*frame)};
    }
    return talmo::jumpTargets(mod.definitionsOf(name.name, edited), name.afterDot);
}

bool TForm1::Navigation::open(TForm1& form, const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path edited = editedPath(form);
    if (!edited.empty() && std::filesystem::absolute(path, error).lexically_normal() ==
                               std::filesystem::absolute(edited, error).lexically_normal())
        return true;
    // The autosave of the switch tells the index of the file it wrote.
    return form.openInEditor(path);
}

void TForm1::gotoDefinitionClick() {
    goToDefinitionAt(-1);
}

bool TForm1::goToDefinitionAt(long position) {
    Navigation& nav = *m_navigation;
    const std::optional<NameAt> name =
        talmo::nameAt(*talmo, position < 0 ? talmo->selectionStart() : position);
    if (!name) {
        LogLine(QStringLiteral("No name to look up here"));
        return false;
    }
    const talmo::DefinitionIndex* index = nav.ready(*this);
    if (!index)
        return false;
    std::string text;
    const auto edited = nav.edited(*this, text);
    const std::vector<talmo::ModDefinition> targets =
        nav.targetsOf(*name, *index, edited ? &*edited : nullptr);
    const QString shown = bytesText(name->name);
    if (targets.empty()) {
        LogLine(QStringLiteral("No definition of ") + shown + QStringLiteral(" in the mod"));
        return false;
    }
    if (targets.size() > 1) {
        std::vector<talmo::ListedMessage> listed;
        for (const talmo::ModDefinition& d : targets)
            listed.push_back({talmo::ListedMessage::Kind::Definition, talmo::pathOfBytes(d.file),
                              d.definition.line, d.definition.column + 1,
                              std::string(talmo::trimBlanks(d.lineText))});
        messageList->showMessages(QString::number(targets.size()) +
                                      QStringLiteral(" definitions of ") + shown,
                                  nav.root, std::move(listed));
    }

    const talmo::ModDefinition& target = targets.front();
    const Place origin{Navigation::editedPath(*this), talmo->selectionStart()};
    if (!nav.open(*this, nav.pathOf(target.file)))
        return false;
    nav.back.push_back(origin);
    nav.forward.clear();

    // The file as loaded can differ from what was indexed: look again there
    // when the name is not where the index saw it.
    long at = talmo->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                   static_cast<unsigned long>(target.definition.line - 1));
    at = at < 0 ? -1 : at + target.definition.column;
    const std::string loaded = talmo->text();
    // A stale place may even lie past the end of the text.
    if (at < 0 || static_cast<std::size_t>(at) > loaded.size() ||
        std::string_view(loaded).substr(static_cast<std::size_t>(at), name->name.size()) !=
            name->name) {
        at = -1;
        for (const talmo::Definition& d : talmo::scanDefinitions(loaded))
            if (d.name == name->name && d.kind == target.definition.kind) {
                at = static_cast<long>(d.offset);
                break;
            }
    }
    if (at >= 0) {
        talmo->setSelectionStart(at);
        talmo->setSelectionLength(static_cast<long>(name->name.size()));
    }
    talmo->setFocus();
    return true;
}

void TForm1::findUsagesClick() {
    Navigation& nav = *m_navigation;
    const std::optional<NameAt> name = talmo::nameAt(*talmo, talmo->selectionStart());
    if (!name) {
        LogLine(QStringLiteral("No name to look up here"));
        return;
    }
    const talmo::DefinitionIndex* index = nav.ready(*this);
    if (!index)
        return;
    std::string text;
    const auto edited = nav.edited(*this, text);
    const std::vector<talmo::ModUsage> usages =
        name->afterDollar && edited
            ? index->frameUsagesAt(name->name, edited->file, static_cast<std::size_t>(name->start),
                                   &*edited)
            : index->usagesOf(name->name, edited ? &*edited : nullptr);
    std::vector<talmo::ListedMessage> listed;
    listed.reserve(usages.size());
    std::size_t files = 0;
    const std::string* lastFile = nullptr;
    std::filesystem::path file;
    for (const talmo::ModUsage& u : usages) {
        // Usages come file by file.
        if (!lastFile || *lastFile != u.file) {
            ++files;
            file = talmo::pathOfBytes(u.file);
        }
        lastFile = &u.file;
        listed.push_back({talmo::ListedMessage::Kind::Usage, file, u.line, u.column + 1,
                          std::string(talmo::trimBlanks(u.lineText))});
    }
    const QString header = QString::number(usages.size()) + QStringLiteral(" usages of ") +
                           bytesText(name->name) + QStringLiteral(" in ") + QString::number(files) +
                           QStringLiteral(" files");
    messageList->showMessages(header, nav.root, std::move(listed));
    LogLine(header);
}

// Steps to the last place of `from`, keeping where it left in `to`.
void TForm1::Navigation::step(TForm1& form, std::vector<Place>& from, std::vector<Place>& to) {
    if (from.empty())
        return;
    const Place place = from.back();
    const Place here{editedPath(form), form.talmo->selectionStart()};
    // A place whose file no longer opens is dropped (the load logged it).
    from.pop_back();
    if (!place.file.empty() && !open(form, place.file))
        return;
    to.push_back(here);
    form.talmo->setSelectionStart(place.caret);
    form.talmo->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
    form.talmo->setFocus();
}

void TForm1::navigateBackClick() {
    m_navigation->step(*this, m_navigation->back, m_navigation->forward);
}

void TForm1::navigateForwardClick() {
    m_navigation->step(*this, m_navigation->forward, m_navigation->back);
}

QString TForm1::definitionTip(long position) {
    Navigation& nav = *m_navigation;
    const std::optional<NameAt> name = talmo::nameAt(*talmo, position);
    if (!name || !definitionIndexReady())
        return {};
    nav.index->refreshChanged();
    std::string text;
    const auto edited = nav.edited(*this, text);
    const std::vector<talmo::ModDefinition> targets =
        nav.targetsOf(*name, *nav.index, edited ? &*edited : nullptr);
    QStringList lines;
    for (const talmo::ModDefinition& d : targets)
        lines << talmo::fileNameText(talmo::pathOfBytes(d.file)) + QLatin1Char(':') +
                     QString::number(d.definition.line) + QStringLiteral("  ") +
                     bytesText(talmo::trimBlanks(d.lineText));
    return lines.join(QLatin1Char('\n'));
}
