// SPDX-License-Identifier: GPL-3.0-or-later
// The window's wiring of navigation: its shortcuts (F12, Shift+F12,
// Alt+Left/Right), Ctrl+click and the tooltip of the name under the resting
// pointer, over the navigation controller.
#include "TForm1.h"

#include "Completion.h"
#include "DefinitionIndex.h"
#include "EditorCompletion.h"
#include "EventHook.h"
#include "MessageList.h"
#include "NameAt.h"
#include "NavigationController.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "ReferencePages.h"
#include "TextBytes.h"

#include <QAction>
#include <QMouseEvent>
#include <QTextDocument> // Qt::convertFromPlainText
#include <QTimer>
#include <QToolTip>

void TForm1::wireNavigation() {
    m_navigation = new talmo::NavigationController(*editor(), *m_edit, *m_workingDirectory, this);
    connect(m_navigation, &talmo::NavigationController::log, this, &TForm1::LogLine);
    connect(m_navigation, &talmo::NavigationController::listed, messageList(),
            &talmo::MessageList::showMessages);
    connect(m_navigation, &talmo::NavigationController::placed, this, [this] {
        editor()->view()->ensureCursorVisible();
        editor()->setFocus();
    });

    auto shortcut = [this](const char* name, const QString& text, const QKeySequence& keys,
                           void (TForm1::*handler)()) {
        auto* action = new QAction(text, editor());
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        editor()->view()->addAction(action);
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
    talmo::QsciView* view = editor()->view();
    talmo::EventHook::install(view->viewport(), QEvent::MouseButtonRelease, [this](QEvent* e) {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ControlModifier))
            return;
        const long position = editor()->view()->positionAt(mouse->position().toPoint());
        if (position >= 0)
            QTimer::singleShot(0, this, [this, position] { goToDefinitionAt(position); });
    });

    view->setHoverDelay(600);
    connect(view, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int position, int x, int y) {
        const QString tip = definitionTip(position);
        if (!tip.isEmpty())
            QToolTip::showText(editor()->view()->viewport()->mapToGlobal(QPoint(x, y)),
                               Qt::convertFromPlainText(tip, Qt::WhiteSpaceNoWrap),
                               editor()->view());
    });
    connect(view, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });

    new talmo::EditorCompletion(
        *view, [this](const talmo::NameAt& typed) { return completionsOf(typed); },
        [this](std::string_view function) { return callTipOf(function); });
}

void TForm1::workingDirectoryChanged() {
    m_navigation->directoryChanged();
}

void TForm1::fileWritten(const QString& path) {
    m_navigation->fileWritten(path);
}

bool TForm1::definitionIndexReady() const {
    return m_navigation->indexReady();
}

void TForm1::gotoDefinitionClick() {
    goToDefinitionAt(-1);
}

bool TForm1::goToDefinitionAt(long position) {
    return m_navigation->goToDefinitionAt(position);
}

void TForm1::findUsagesClick() {
    m_navigation->findUsages();
}

void TForm1::navigateBackClick() {
    m_navigation->back();
}

void TForm1::navigateForwardClick() {
    m_navigation->forward();
}

namespace {

// The words of the reference pages, read once.
const talmo::LanguageWords& languageWords() {
    static const talmo::LanguageWords words = [] {
        const auto page = [](int i) {
            return talmo::referencePageText(i).toLatin1().toStdString();
        };
        return talmo::languageWordsOf(page(2), page(1), page(0));
    }();
    return words;
}

constexpr std::size_t kMaxCompletions = 200;

} // namespace

std::vector<talmo::CompletionItem> TForm1::completionsOf(const talmo::NameAt& typed) {
    const talmo::DefinitionIndex* index = m_navigation->currentIndex();
    if (!index)
        return {};
    const std::vector<talmo::ModDefinition> mod =
        talmo::completionCandidates(*index, typed, kMaxCompletions * 20);
    return talmo::completionsFor(typed.name, typed.afterDot, mod, languageWords(), kMaxCompletions);
}

std::string TForm1::callTipOf(std::string_view function) {
    const talmo::DefinitionIndex* index = m_navigation->currentIndex();
    return index ? talmo::prototypeOf(*index, function, languageWords()) : std::string();
}

QString TForm1::definitionTip(long position) {
    return m_navigation->definitionTip(position);
}
