// SPDX-License-Identifier: GPL-3.0-or-later
// Lets a handler of the window see one kind of event of a widget before the
// widget handles it; the widget still handles it as usual.
#pragma once

#include <QEvent>
#include <QObject>

#include <functional>

namespace talmo {

class EventHook : public QObject {
public:
    // Calls `handler` with every event of `type` that reaches `target`. The
    // hook belongs to `target` and goes with it.
    static void install(QObject* target, QEvent::Type type, std::function<void(QEvent*)> handler) {
        target->installEventFilter(new EventHook(target, type, std::move(handler)));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type)
            m_handler(event);
        return false;
    }

private:
    EventHook(QObject* parent, QEvent::Type type, std::function<void(QEvent*)> handler)
        : QObject(parent), m_type(type), m_handler(std::move(handler)) {}

    QEvent::Type m_type;
    std::function<void(QEvent*)> m_handler;
};

} // namespace talmo
