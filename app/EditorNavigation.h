// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's side of navigation across the mod: F12 and Ctrl+click go to a
// definition, Shift+F12 lists the usages, Alt+Left / Alt+Right go back and
// forward, a pointer resting on a name shows where it is defined, and names
// complete as they are typed. What each one finds comes from the navigation
// controller.
#pragma once

#include <QObject>

#include <functional>

namespace talmo {

class NavigationController;
class QsciView;

class EditorNavigation : public QObject {
    Q_OBJECT
public:
    // Lives as long as `view` (its child).
    EditorNavigation(QsciView& view, NavigationController& navigation);

private:
    void addShortcut(const char* name, const QString& text, const QKeySequence& keys,
                     const std::function<void()>& handler);
    void showTip(int position, int x, int y);

    QsciView& m_view;
    NavigationController& m_navigation;
};

} // namespace talmo
