// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorNavigation.h"

#include "EditorCompletion.h"
#include "EventHook.h"
#include "NavigationController.h"
#include "PageControls.h"
#include "QsciView.h"

#include <QAction>
#include <QMouseEvent>
#include <QTextDocument> // Qt::convertFromPlainText
#include <QTimer>
#include <QToolTip>

namespace talmo {

EditorNavigation::EditorNavigation(QsciView& view, NavigationController& navigation)
    : QObject(&view), m_view(view), m_navigation(navigation) {
    connect(&navigation, &NavigationController::placed, this, [this] {
        m_view.ensureCursorVisible();
        m_view.setFocus();
    });

    addShortcut("gotodefinition1", QStringLiteral("Go to definition"), QKeySequence(Qt::Key_F12),
                [this] { m_navigation.goToDefinitionAt(-1); }); // the name at the caret
    addShortcut("findusages1", QStringLiteral("Find usages"), QKeySequence(Qt::SHIFT | Qt::Key_F12),
                [this] { m_navigation.findUsages(); });
    addShortcut("navigateback1", QStringLiteral("Back"), QKeySequence(Qt::ALT | Qt::Key_Left),
                [this] { m_navigation.back(); });
    addShortcut("navigateforward1", QStringLiteral("Forward"),
                QKeySequence(Qt::ALT | Qt::Key_Right), [this] { m_navigation.forward(); });

    // Ctrl+click: once the editor has placed the caret.
    EventHook::install(view.viewport(), QEvent::MouseButtonRelease, [this](QEvent* e) {
        const auto* mouse = static_cast<QMouseEvent*>(e);
        if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ControlModifier))
            return;
        const long position = m_view.positionAt(mouse->position().toPoint());
        if (position >= 0)
            QTimer::singleShot(0, this,
                               [this, position] { m_navigation.goToDefinitionAt(position); });
    });

    view.setHoverDelay(600);
    connect(&view, &QsciScintillaBase::SCN_DWELLSTART, this, &EditorNavigation::showTip);
    connect(&view, &QsciScintillaBase::SCN_DWELLEND, this, [] { QToolTip::hideText(); });

    new EditorCompletion(
        view, [this](const NameAt& typed) { return m_navigation.completions(typed); },
        [this](std::string_view function) { return m_navigation.callTip(function); });
}

void EditorNavigation::addShortcut(const char* name, const QString& text, const QKeySequence& keys,
                                   const std::function<void()>& handler) {
    connect(widgetShortcut(&m_view, name, text, keys), &QAction::triggered, this, handler);
}

void EditorNavigation::showTip(int position, int x, int y) {
    const QString tip = m_navigation.definitionTip(position);
    if (!tip.isEmpty())
        QToolTip::showText(m_view.viewport()->mapToGlobal(QPoint(x, y)),
                           Qt::convertFromPlainText(tip, Qt::WhiteSpaceNoWrap), &m_view);
}

} // namespace talmo
