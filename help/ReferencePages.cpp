// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferencePages.h"

#include <QFile>
#include <QFont>
#include <QPalette>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>

#include <array>

// The texts live in a static library: its resources must be registered by
// hand, or the linker may drop them. Q_INIT_RESOURCE must be called outside
// any namespace.
static void registerHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace talmo {

namespace {

struct PageInfo {
    const char* caption;
    const char* memoName;
    bool miniHelp; // own font, no scroll bars
};

// The captions are the program's own, odd spacing and case included.
constexpr std::array<PageInfo, 7> kPages{{
    {"&Console", "Memo1", false},
    {"QCMan - &Lex", "Memo3", false},
    {"QCman - &Builtin", "Memo4", false},
    {"QCman  - &Defs", "Memo5", false},
    {"QCman - &Misc", "Memo6", false},
    {"QCman - &Exampl", "Memo7", false},
    {"TALMO -Minihelp", "Memo8", true},
}};

QString resourceText(const char* name) {
    static const bool registered = (registerHelpResources(), true);
    (void)registered;
    QFile file(QStringLiteral(":/help/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The texts are 8-bit: one byte is one character, whatever the locale.
    return QString::fromLatin1(file.readAll());
}

QFont fontFor(const PageInfo& page) {
    QFont font;
    if (page.miniHelp) {
        // Falls back to the platform's sans serif where the face is missing.
        font.setFamilies({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"),
                          QStringLiteral("Sans Serif")});
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(13);
        font.setBold(false);
    } else {
        // The reference texts line up in columns: where "System" is missing,
        // a fixed-pitch face keeps them aligned.
        font.setFamilies({QStringLiteral("System"), QStringLiteral("DejaVu Sans Mono"),
                          QStringLiteral("Liberation Mono"), QStringLiteral("Monospace")});
        font.setStyleHint(QFont::Monospace);
        font.setPixelSize(12);
        font.setBold(true);
    }
    return font;
}

QPlainTextEdit* makeMemo(const PageInfo& page, const QString& text) {
    auto* memo = new QPlainTextEdit;
    memo->setObjectName(QLatin1String(page.memoName));
    memo->setFont(fontFor(page));
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(page.miniHelp ? Qt::ScrollBarAlwaysOff
                                                   : Qt::ScrollBarAlwaysOn);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    palette.setColor(QPalette::Text, palette.color(QPalette::WindowText));
    memo->setPalette(palette);
    memo->setPlainText(text);
    // Read-only still lets the user scroll, select and copy.
    memo->setReadOnly(true);
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return memo;
}

} // namespace

QString referencePageText(int page) {
    switch (page) {
    case 0:
        return resourceText("console.txt");
    case 1:
        return resourceText("lex.txt");
    case 2:
        return resourceText("builtin.txt");
    case 3:
        return resourceText("defs.txt");
    case 4:
        // The misc page repeats the defines chapter before its own chapters;
        // the repository keeps that chapter once.
        return resourceText("defs.txt") + resourceText("misc_rest.txt");
    case 5:
        return resourceText("examples.txt");
    case 6:
        return resourceText("minihelp.txt");
    default:
        return {};
    }
}

QTabWidget* createReferenceNotebook(QWidget* parent) {
    auto* notebook = new QTabWidget(parent);
    fillReferenceNotebook(*notebook);
    return notebook;
}

void fillReferenceNotebook(QTabWidget& notebook) {
    notebook.setObjectName(QStringLiteral("TabbedNotebook2"));

    QFont tabFont;
    tabFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
    tabFont.setStyleHint(QFont::SansSerif);
    tabFont.setPixelSize(11);
    notebook.tabBar()->setFont(tabFont);

    for (int i = 0; i < static_cast<int>(kPages.size()); ++i) {
        const PageInfo& page = kPages[static_cast<std::size_t>(i)];
        notebook.addTab(makeMemo(page, referencePageText(i)), QLatin1String(page.caption));
    }
    notebook.setCurrentIndex(static_cast<int>(kPages.size()) - 1);
}

} // namespace talmo
