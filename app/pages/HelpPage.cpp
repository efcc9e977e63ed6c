// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpPage.h"

#include "ReferenceLookup.h"
#include "ReferencePages.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace talmo {

HelpPage::HelpPage(QWidget* parent) : QTabWidget(parent) {
    fillReferenceNotebook(*this);
}

void HelpPage::showEntry(std::string_view word) {
    // The pages are read-only: their bytes are taken once.
    if (m_pages.empty()) {
        for (int i = 0; i < count(); ++i) {
            const auto* page = qobject_cast<QPlainTextEdit*>(widget(i));
            m_pages.push_back(page ? page->toPlainText().toLatin1().toStdString() : std::string());
        }
    }
    const std::optional<ReferenceEntry> entry = findReferenceEntry(m_pages, word);
    if (!entry)
        return;
    setCurrentIndex(entry->page);
    auto* page = qobject_cast<QPlainTextEdit*>(widget(entry->page));
    QTextCursor cursor(page->document());
    cursor.setPosition(static_cast<int>(entry->offset));
    cursor.setPosition(static_cast<int>(entry->offset + entry->length), QTextCursor::KeepAnchor);
    page->setTextCursor(cursor);
    page->ensureCursorVisible();
}

} // namespace talmo
