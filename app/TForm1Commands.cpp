// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's own commands: edited mark, blue typing, caret indicator, HEAD
// line, go to line, clipboard and help entries; delete.
#include "TForm1.h"

#include "TextBytes.h"

#include "FileListBox.h"
#include "HelpPage.h"
#include "NameAt.h"
#include "QsciEditor.h"
#include "Text.h"
#include "WorkingDirectory.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>

#include <optional>
#include <string>
#include <vector>

namespace {

// Optional blanks, an optional sign and decimal digits; nothing else.
std::optional<long long> parseInteger(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    if (i == t.size())
        return std::nullopt;
    long long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < u'0' || t[i] > u'9')
            return std::nullopt;
        if (value > (1LL << 40))
            return std::nullopt; // far beyond any line count
        value = value * 10 + (t[i].unicode() - u'0');
    }
    return negative ? -value : value;
}

} // namespace

void TForm1::wireEditorCommands() {
    talmo::EditorEvents events;
    events.keyDown = [this](int key) { codexKeyDown(key); };
    events.keyPress = [this](char ch) { codexKeyPress(ch); };
    events.mouseDown = [this] { codexMouseDown(); };
    events.mouseUp = [this] { codexMouseUp(); };
    // Text the editor refused is logged as any other refused text is.
    events.refused = [this](const std::string& ch) { fileText(QString::fromStdString(ch)); };
    talmo->setEvents(std::move(events));

    onKeyPress(uptext, [this](char key) { uptextKeyPress(key); });
    onKeyPress(num, [this](char key) { numKeyPress(key); });
}

void TForm1::codexKeyPress(char) {
    Manager->setTabText(1, QStringLiteral("[ &Edit ") + fileNamePart(currentFile()) +
                               QStringLiteral("]"));
}

void TForm1::codexKeyDown(int key) {
    // Ctrl, Alt and Meta begin a shortcut; the key they chord with decides.
    if (key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta || key == Qt::Key_AltGr)
        return;
    talmo->setSelectionColour(talmo::kBlue);
    codexMouseUp();
}

void TForm1::codexMouseDown() {
    codexMouseUp();
}

void TForm1::codexMouseUp() {
    editbar->setText(
        QStringLiteral("[%1/%2]").arg(talmo->caretLine() + 1).arg(talmo->lineCount() + 1));
}

void TForm1::uptextKeyPress(char key) {
    if (key != '\r' || uptext->text().isEmpty())
        return;
    const auto line = fileText(uptext->text());
    if (!line)
        return;
    talmo->insertLineAtStart(*line);
    uptext->clear();
}

void TForm1::numKeyPress(char key) {
    if (key != '\r' || num->text().isEmpty())
        return;
    const std::optional<long long> n = parseInteger(num->text());
    if (!n) {
        reportError(QStringLiteral("'%1' is not a valid integer value").arg(num->text()));
        return;
    }
    // Skip n lines, each counting its length and its line break; lines past
    // the last one count as empty.
    long long offset = 0;
    const long long existing = std::min<long long>(std::max(*n, 0LL), talmo->lineCount());
    for (int i = 0; i < existing; ++i)
        offset += static_cast<long long>(talmo->line(i).size()) + 2;
    if (*n > existing)
        offset += 2 * (*n - existing);
    talmo->setFocus();
    talmo->setSelectionStart(static_cast<long>(std::min<long long>(offset, talmo->length())));
    talmo->setSelectionLength(1);
    num->clear();
}

void TForm1::cut1Click() {
    talmo->cut();
}
void TForm1::copy1Click() {
    talmo->copy();
}
void TForm1::Paste1Click() {
    talmo->paste();
}
void TForm1::help1Click() {
    showPage(7);
    // On a documented word, the page that documents it, at its entry.
    std::string word = talmo->textRange(talmo->selectionStart(), talmo->selectionLength());
    if (word.empty()) {
        const std::optional<talmo::NameAt> name = talmo::nameAt(*talmo, talmo->selectionStart());
        if (name)
            word = name->name;
    }
    if (word.empty() || word.size() > 64)
        return;
    m_help->showEntry(word);
}

void TForm1::delete1Click() {
    const QString path = qclista->selectedPath();
    // QFile::rename never replaces an existing target.
    const bool ok = !path.isEmpty() && QFile::rename(path, path + QStringLiteral(".bak"));
    LogLine(QStringLiteral("Rename file ") + path +
            (ok ? QStringLiteral(" ok.") : QStringLiteral(" error!")));
    RefreshFileLists();
}
