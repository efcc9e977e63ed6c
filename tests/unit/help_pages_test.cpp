// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferencePages.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringList>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct PageCase {
    int index;
    const char* caption;
    const char* memo;
    const char* firstHeading; // first non-empty line, or nullptr
    int leadingEmptyLines;
    int minLines;
};

const PageCase kPages[] = {
    {0, "&Console", "Memo1", nullptr, 1, 250},
    {1, "QCMan - &Lex", "Memo3", "2. QuakeC Language", 2, 180},
    {2, "QCman - &Builtin", "Memo4", "3. Builtin functions", 1, 400},
    {3, "QCman  - &Defs", "Memo5", "4. Defines", 1, 150},
    {4, "QCman - &Misc", "Memo6", "4. Defines", 1, 600},
    {5, "QCman - &Exampl", "Memo7", "13. Examples", 1, 180},
    {6, "TALMO -Minihelp", "Memo8", "::TALMO::  Help.", 0, 40},
};

QStringList linesOf(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

class ReferenceNotebook : public ::testing::Test {
protected:
    void SetUp() override {
        m_notebook.reset(talmo::createReferenceNotebook(nullptr));
        m_notebook->resize(800, 600);
        m_notebook->show();
    }
    QPlainTextEdit* memo(int index) const {
        return qobject_cast<QPlainTextEdit*>(m_notebook->widget(index));
    }
    std::unique_ptr<QTabWidget> m_notebook;
};

TEST_F(ReferenceNotebook, hasSevenPagesWithTheirCaptionsAndMemosInOrder) {
    EXPECT_EQ(m_notebook->objectName(), QStringLiteral("TabbedNotebook2"));
    ASSERT_EQ(m_notebook->count(), 7);
    for (const PageCase& page : kPages) {
        SCOPED_TRACE(page.caption);
        EXPECT_EQ(m_notebook->tabText(page.index), QLatin1String(page.caption));
        QPlainTextEdit* edit = memo(page.index);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->objectName(), QLatin1String(page.memo));
        EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(edit->toPlainText(), talmo::referencePageText(page.index));
    }
}

TEST_F(ReferenceNotebook, opensOnTheMiniHelpPage) {
    EXPECT_EQ(m_notebook->currentIndex(), 6);
    EXPECT_EQ(m_notebook->currentWidget()->objectName(), QStringLiteral("Memo8"));
}

TEST_F(ReferenceNotebook, typingIntoAnyMemoChangesNothing) {
    for (const PageCase& page : kPages) {
        SCOPED_TRACE(page.caption);
        m_notebook->setCurrentIndex(page.index);
        QPlainTextEdit* edit = memo(page.index);
        const QString before = edit->toPlainText();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral("typed text"));
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_EQ(edit->toPlainText(), before);
    }
}

TEST_F(ReferenceNotebook, referencePagesScrollVerticallyAndTheMiniHelpNotAtAll) {
    for (const PageCase& page : kPages) {
        SCOPED_TRACE(page.caption);
        QPlainTextEdit* edit = memo(page.index);
        const bool mini = page.index == 6;
        EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_EQ(edit->verticalScrollBarPolicy(),
                  mini ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(edit->font().bold(), !mini);
        EXPECT_EQ(edit->font().pixelSize(), mini ? 13 : 12);
    }
}

TEST(ReferenceTexts, eachPageStartsWithItsHeadingAndHasSubstance) {
    for (const PageCase& page : kPages) {
        SCOPED_TRACE(page.caption);
        const QStringList lines = linesOf(talmo::referencePageText(page.index));
        EXPECT_GE(lines.size(), page.minLines);
        ASSERT_GT(lines.size(), page.leadingEmptyLines);
        for (int i = 0; i < page.leadingEmptyLines; ++i)
            EXPECT_TRUE(lines[i].trimmed().isEmpty()) << "line " << i + 1;
        EXPECT_FALSE(lines[page.leadingEmptyLines].trimmed().isEmpty());
        if (page.firstHeading) {
            EXPECT_EQ(lines[page.leadingEmptyLines].trimmed(), QLatin1String(page.firstHeading));
        }
    }
}

TEST(ReferenceTexts, miniHelpIsFortyLinesNamingNoAddress) {
    const QString text = talmo::referencePageText(6);
    EXPECT_EQ(linesOf(text).size(), 40);
    EXPECT_FALSE(text.contains(QLatin1String("http")));
    EXPECT_FALSE(text.contains(QLatin1String("www.")));
    EXPECT_FALSE(text.contains(QLatin1Char('@')));
    EXPECT_TRUE(text.contains(QLatin1String("Added features:")));
}

struct SectionCase {
    int page;
    const char* chapter;
    int sections;
};

// Every numbered section heading "N.k" appears at the start of a line, in order.
TEST(ReferenceTexts, manualPagesHoldTheirSectionsInOrder) {
    const SectionCase cases[] = {
        {1, "2", 15}, {2, "3", 12}, {3, "4", 11}, {4, "4", 11}, {5, "13", 6}};
    for (const SectionCase& c : cases) {
        SCOPED_TRACE(c.chapter);
        const QStringList lines = linesOf(talmo::referencePageText(c.page));
        int from = 0;
        for (int k = 1; k <= c.sections; ++k) {
            const QString prefix = QStringLiteral("%1.%2 ").arg(QLatin1String(c.chapter)).arg(k);
            int found = -1;
            for (int i = from; i < lines.size() && found < 0; ++i)
                if (lines[i].startsWith(prefix))
                    found = i;
            EXPECT_GE(found, 0) << "section " << prefix.toStdString();
            if (found >= 0)
                from = found + 1;
        }
    }
}

TEST(ReferenceTexts, miscPageRepeatsTheDefinesAndGoesOnToChapterNine) {
    const QString defs = talmo::referencePageText(3);
    const QString misc = talmo::referencePageText(4);
    ASSERT_FALSE(defs.isEmpty());
    EXPECT_TRUE(misc.startsWith(defs));
    const QString rest = misc.mid(defs.size());
    for (const char* heading : {"5. Entities", "6. ", "7. ", "8. ", "9. "})
        EXPECT_TRUE(rest.contains(QLatin1Char('\n') + QLatin1String(heading))) << heading;
}

// The texts are 8-bit: a byte above 127 must show as its Latin-1 character.
TEST(ReferenceTexts, highBytesDecodeAsLatin1) {
    bool sawHighByte = false;
    for (const PageCase& page : kPages) {
        const QString text = talmo::referencePageText(page.index);
        EXPECT_FALSE(text.contains(QChar(0xFFFD))) << page.caption;
        for (QChar ch : text)
            sawHighByte = sawHighByte || ch.unicode() > 127;
    }
    EXPECT_TRUE(sawHighByte) << "no text holds a byte above 127 to check the decoding";
    EXPECT_TRUE(talmo::referencePageText(4).contains(QChar(0xE9)));
}

TEST(ReferenceTexts, unknownPageIsEmpty) {
    EXPECT_TRUE(talmo::referencePageText(-1).isEmpty());
    EXPECT_TRUE(talmo::referencePageText(7).isEmpty());
}

// Console entries: a command in column 1, its description from column 40
// (or after the command when that is longer), continuation lines indented to
// column 40. The list is sorted by name, ignoring case and the leading "+",
// "-" or "_" of button commands and internal variables.
QString sortKey(const QString& entryLine) {
    QString name = entryLine.section(QLatin1Char(' '), 0, 0).toLower();
    while (!name.isEmpty() && (name[0] == QLatin1Char('+') || name[0] == QLatin1Char('-') ||
                               name[0] == QLatin1Char('_')))
        name.remove(0, 1);
    return name;
}

TEST(ConsoleReference, listsAtLeast150EntriesAlphabeticallyInColumns) {
    const QStringList lines = linesOf(talmo::referencePageText(0));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines[0].isEmpty());
    const QString indent(39, QLatin1Char(' '));
    int entries = 0;
    int atColumn40 = 0;
    QString previous;
    for (int i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.trimmed().isEmpty())
            continue;
        if (line[0] == QLatin1Char(' ')) {
            EXPECT_TRUE(line.startsWith(indent) && line[39] != QLatin1Char(' '))
                << "continuation not at column 40, line " << i + 1;
            continue;
        }
        ++entries;
        const QString key = sortKey(line);
        EXPECT_LE(previous, key) << "out of order at line " << i + 1 << ": " << line.toStdString();
        previous = key;
        if (line.size() > 40 && line[38] == QLatin1Char(' ') && line[39] != QLatin1Char(' '))
            ++atColumn40;
    }
    EXPECT_GE(entries, 150);
    EXPECT_GE(atColumn40 * 10, entries * 8) << "most descriptions start at column 40";
}

} // namespace
