// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageControls.h"

#include "EventHook.h"
#include "TextCodec.h"

#include <QAction>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include <exception>

namespace talmo {

QFont fixedFont(int points) {
    QFont f;
    f.setFamilies({QStringLiteral("Lucida Console"), QStringLiteral("DejaVu Sans Mono"),
                   QStringLiteral("Liberation Mono"), QStringLiteral("Monospace")});
    f.setStyleHint(QFont::Monospace);
    f.setPointSize(points);
    return f;
}

QFont courierFont() {
    QFont f = fixedFont(9);
    f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                   QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")});
    return f;
}

QFont systemFont() {
    QFont f;
    f.setFamilies({QStringLiteral("System"), QStringLiteral("DejaVu Sans"),
                   QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")});
    f.setPixelSize(12);
    f.setBold(true);
    return f;
}

QFont listFont() {
    QFont f;
    f.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    f.setPointSize(9);
    f.setBold(true);
    return f;
}

QLineEdit* lineEdit(const char* name, const QString& text) {
    auto* box = named(new QLineEdit(text), name);
    box->setMinimumWidth(36);
    return box;
}

QPushButton* button(const char* name, const QString& caption, const QString& hint) {
    auto* b = named(new QPushButton(caption), name);
    QString shown = caption;
    shown.remove(u'&');
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(shown) + 18);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

QPlainTextEdit* memo(const char* name, const QString& hint) {
    auto* m = named(new QPlainTextEdit, name);
    if (!hint.isEmpty())
        m->setToolTip(hint);
    m->setTabChangesFocus(false);
    return m;
}

QLabel* label(const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

void attachContextMenu(QWidget* owner, QMenu* menu) {
    owner->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(owner, &QWidget::customContextMenuRequested, menu,
                     [owner, menu](const QPoint& pos) { menu->popup(owner->mapToGlobal(pos)); });
}

QAction* namedAction(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut) {
    auto* a = new QAction(caption, menu->parent());
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    menu->addAction(a);
    return a;
}

QAction* widgetShortcut(QWidget* owner, const char* name, const QString& text,
                        const QKeySequence& keys) {
    auto* a = new QAction(text, owner);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(keys);
    a->setShortcutContext(Qt::WidgetShortcut);
    owner->addAction(a);
    return a;
}

void onKeyPress(QWidget* box, std::function<void(char)> handler) {
    EventHook::install(box, QEvent::KeyPress, [handler = std::move(handler)](QEvent* event) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            handler('\r');
        else if (key->text().size() == 1)
            handler(key->text()[0].toLatin1());
    });
}

std::string commandText(const QString& typed) {
    return typed.toLocal8Bit().toStdString();
}

std::uintptr_t ownerOf(const QWidget* widget) {
    return static_cast<std::uintptr_t>(widget->window()->winId());
}

void PageServices::runReportingErrors(const std::function<void()>& body) const {
    try {
        body();
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    }
}

std::optional<std::string> PageServices::fileText(const QString& text) const {
    QString refused;
    std::optional<std::string> bytes = bytesOfText(text, &refused);
    if (!bytes)
        log(QStringLiteral(":: Cannot use \"") + refused +
            QStringLiteral("\": the 8-bit text of the files has no such character; "
                           "nothing was changed"));
    return bytes;
}

} // namespace talmo
