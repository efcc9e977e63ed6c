// SPDX-License-Identifier: GPL-3.0-or-later
// The Help page: the read-only reference notebook ("TabbedNotebook2"), and
// the look-up of a word in it.
#pragma once

#include <QTabWidget>

#include <string>
#include <string_view>
#include <vector>

namespace talmo {

class HelpPage : public QTabWidget {
    Q_OBJECT
public:
    explicit HelpPage(QWidget* parent = nullptr);

    // Shows the page that documents `word`, with its entry selected; nothing
    // moves when no page documents it.
    void showEntry(std::string_view word);

private:
    // The bytes of the pages, as the memos hold them; taken at the first look-up.
    std::vector<std::string> m_pages;
};

} // namespace talmo
