// SPDX-License-Identifier: GPL-3.0-or-later
// QuakeC analysis in the window, driven as a user would: the highlighting
// after a load and from the Syntax button, the function box `com` (picks,
// close-up, completion, typed searches), find and F3, Colorize Search and
// Search and Replace on the RSearch page.
#include "WindowFixture.h"

#include "ColourChooser.h"
#include "FileListBox.h"
#include "FunctionCombo.h"
#include "QsciEditor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using talmo::testing::WindowFixture;

namespace {

// Three index entries: "float(float v) rint =", "void() worldspawn =",
// "void() main =". "think" occurs three times, first at the prototype.
const std::string kDefs = "// defs of the test mod\r\n"
                          "void() think;\r\n"
                          "float(float v) rint = #36;\r\n"
                          "void() worldspawn =\r\n"
                          "{\r\n"
                          "\tthink();\r\n"
                          "\t/* block\r\n"
                          "\t   comment */\r\n"
                          "\tlocal entity e;\r\n"
                          "};\r\n"
                          "void() main =\r\n"
                          "{\r\n"
                          "\tworldspawn();\r\n"
                          "\tthink();\r\n"
                          "};\r\n";

const std::string kSelf = "// uses self\r\n"
                          "\tSelf.health = 0;\r\n"
                          "\tself.frags = SELF.frags;\r\n";

std::vector<std::pair<QString, std::string>> mod() {
    return {{QStringLiteral("defs.qc"), kDefs}, {QStringLiteral("self.qc"), kSelf}};
}

long positionOf(const std::string& text, const std::string& what, int nth = 1) {
    std::size_t at = std::string::npos;
    for (int i = 0; i < nth; ++i)
        at = text.find(what, at == std::string::npos ? 0 : at + 1);
    if (at == std::string::npos)
        qFatal("fixture text lacks %s", what.c_str());
    return static_cast<long>(at);
}

QStringList itemsOf(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

struct Selection {
    long start;
    long length;
    bool operator==(const Selection&) const = default;
};

Selection selectionOf(const talmo::QsciEditor* editor) {
    return {editor->selectionStart(), editor->selectionLength()};
}

char* toString(const Selection& s) {
    return QTest::toString(QStringLiteral("[%1, +%2]").arg(s.start).arg(s.length));
}

// Loads defs.qc by a double click and waits until the window is active, so
// that focus changes reach the controls as they would for a user.
TForm1& loadDefs(WindowFixture& f, const QString& name = QStringLiteral("defs.qc")) {
    TForm1& w = f.window();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        qWarning("window not active");
    if (!f.doubleClickItem(w.qclista, name))
        qFatal("no list entry %s", qPrintable(name));
    return w;
}

// Opens com's list with the mouse and clicks the entry of that text.
void pickWithMouse(TForm1& w, const QString& entry) {
    QTest::mouseClick(w.com, Qt::LeftButton, {}, QPoint(w.com->width() - 6, w.com->height() / 2));
    QAbstractItemView* view = w.com->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    // The list ignores a release that comes too soon after it opened.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const int row = w.com->findText(entry, Qt::MatchExactly);
    QVERIFY(row >= 0);
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTRY_VERIFY(!view->isVisible());
}

} // namespace

class WindowAnalysisTest : public QObject {
    Q_OBJECT
private slots:
    void loadHighlightsAndIndexesTheFile();
    void syntaxButtonFormatsTypedTextAndSelectsTheLastComment();
    void pickingAnEntryWithTheMouseSelectsTheDefinition();
    void closingTheListPutsTheCaretAtZeroAndSearches();
    void typingAnInitialCompletesAndSelectsTheNextOccurrence();
    void typingTextThatBeginsNoEntrySearchesAsTyped();
    void enteringComRebuildsTheIndexFromTheEditedText();
    void enterInFindeditSearchesAndF3FindsTheNextOne();
    void f3BeforeAnyFindEmptiesComAndMovesNothing();
    void enterOnAnEntryInComSearchesOnce();
    void colorizeMarksInTheChosenColourAndShowsTheEditPage();
    void colorizeAndReplaceFindingNothingKeepTheSearchPage();
    void replaceInAnotherCaseRewritesBlueAndShowsTheEditPage();
};

void WindowAnalysisTest::loadHighlightsAndIndexesTheFile() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    const std::string text = w.talmo->text();
    QCOMPARE(text, kDefs);

    struct Expect {
        const char* what;
        int nth;
        bool bold;
        talmo::Rgb colour;
    };
    const Expect expected[] = {
        {"void", 1, true, talmo::kBlack},        {"float(", 1, true, talmo::kBlack},
        {"local", 1, true, talmo::kBlack},       {"entity", 1, true, talmo::kBlack},
        {"think", 1, false, talmo::kBlack},      {"// defs", 1, false, talmo::kGreen},
        {"test mod", 1, false, talmo::kGreen},   {"/* block", 1, false, talmo::kGreen},
        {"comment */", 1, false, talmo::kGreen},
    };
    for (const Expect& e : expected) {
        const long at = positionOf(text, e.what);
        for (long p = at; p < at + 4; ++p) {
            const talmo::CharFormat got = w.talmo->formatAt(p);
            QVERIFY2(got.bold == e.bold && got.colour == e.colour, e.what);
        }
    }
    // A line comment ends before its CR; the closing "*/" is coloured whole.
    QVERIFY(w.talmo->formatAt(positionOf(text, "\r\nvoid() think")).colour == talmo::kBlack);
    QVERIFY(w.talmo->formatAt(positionOf(text, "*/") + 1).colour == talmo::kGreen);
    QVERIFY(w.talmo->formatAt(positionOf(text, "*/") + 2).colour == talmo::kBlack);

    QCOMPARE(itemsOf(w.com),
             (QStringList{QStringLiteral("float(float v) rint ="),
                          QStringLiteral("void() worldspawn ="), QStringLiteral("void() main =")}));
    QVERIFY(w.com->currentText().isEmpty());
    // The caret went back where it was before the switch.
    QCOMPARE(selectionOf(w.talmo), (Selection{0, 0}));
}

void WindowAnalysisTest::syntaxButtonFormatsTypedTextAndSelectsTheLastComment() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    w.talmo->setFocus();
    w.talmo->setSelectionStart(w.talmo->length());
    QTest::keyClicks(w.talmo, QStringLiteral("// vector note"));
    QTest::keyClick(w.talmo, Qt::Key_Return);
    const std::string text = w.talmo->text();
    QCOMPARE(text, kDefs + "// vector note\r\n");
    const long comment = static_cast<long>(kDefs.size());
    QVERIFY(w.talmo->formatAt(comment).colour == talmo::kBlue); // typed text
    QVERIFY(!w.talmo->formatAt(comment + 3).bold);

    QTest::mouseClick(w.syntaxcolor, Qt::LeftButton);
    for (long p = comment; p < comment + 14; ++p)
        QVERIFY(w.talmo->formatAt(p).colour == talmo::kGreen);
    for (long p = comment + 3; p < comment + 9; ++p)
        QVERIFY(w.talmo->formatAt(p).bold); // "vector"
    QVERIFY(!w.talmo->formatAt(comment + 10).bold);
    // The pass ends with the last line comment selected.
    QCOMPARE(selectionOf(w.talmo), (Selection{comment, 14}));
    // Earlier formatting stays: the file's own comment is still green.
    QVERIFY(w.talmo->formatAt(0).colour == talmo::kGreen);
}

void WindowAnalysisTest::pickingAnEntryWithTheMouseSelectsTheDefinition() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    const long mainHead = positionOf(kDefs, "void() main =");
    // The caret stands after the definition: closing the list sends it to 0.
    w.talmo->setSelectionStart(w.talmo->length());

    pickWithMouse(w, QStringLiteral("void() main ="));
    QCOMPARE(w.com->currentText(), QStringLiteral("void() main ="));
    QCOMPARE(selectionOf(w.talmo), (Selection{mainHead, 13}));
    QTRY_VERIFY(w.talmo->hasFocus());

    // Picking it again: entering com emptied its text, so the close-up finds
    // nothing, the first run of the pick finds the head from position 1 and
    // the second finds nothing after it.
    pickWithMouse(w, QStringLiteral("void() main ="));
    QCOMPARE(selectionOf(w.talmo), (Selection{mainHead, 13}));

    // An arrow key picks too, without sending the caret to 0.
    w.talmo->setSelectionStart(1);
    w.com->setFocus();
    QVERIFY(w.com->currentText().isEmpty());
    QTest::keyClick(w.com, Qt::Key_Down);
    QCOMPARE(w.com->currentText(), QStringLiteral("float(float v) rint ="));
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(kDefs, "float(float v) rint ="), 21}));
}

void WindowAnalysisTest::closingTheListPutsTheCaretAtZeroAndSearches() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    w.talmo->setSelectionStart(w.talmo->length());
    // "zz" begins no entry and is not in the text: the typed search finds
    // nothing from the end of the text.
    f.type(w.com, QStringLiteral("zz"));
    QCOMPARE(w.com->currentText(), QStringLiteral("zz"));
    QCOMPARE(selectionOf(w.talmo), (Selection{w.talmo->length(), 0}));

    w.talmo->setSelectionStart(w.talmo->length());
    w.com->lineEdit()->setText(QStringLiteral("think")); // not a user edit: runs nothing
    QCOMPARE(selectionOf(w.talmo), (Selection{w.talmo->length(), 0}));
    w.com->showPopup();
    QVERIFY(QTest::qWaitForWindowExposed(w.com->view()->window()));
    QTest::keyClick(w.com->view(), Qt::Key_Escape);
    QTRY_VERIFY(!w.com->view()->isVisible());
    // Caret to 0, then find-next for "think" from position 1.
    QCOMPARE(w.com->currentText(), QStringLiteral("think"));
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(kDefs, "think"), 5}));

    // Nothing to find from position 1 (the text begins with it): the caret
    // stays at 0.
    w.com->lineEdit()->setText(QStringLiteral("// defs"));
    w.talmo->setSelectionStart(40);
    w.com->showPopup();
    QVERIFY(QTest::qWaitForWindowExposed(w.com->view()->window()));
    w.com->hidePopup();
    QCOMPARE(selectionOf(w.talmo), (Selection{0, 0}));
}

void WindowAnalysisTest::typingAnInitialCompletesAndSelectsTheNextOccurrence() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    const long wsHead = positionOf(kDefs, "void() worldspawn =");
    w.talmo->setSelectionStart(3);

    f.type(w.com, QStringLiteral("V")); // case is ignored
    QCOMPARE(w.com->currentText(), QStringLiteral("void() worldspawn ="));
    // Typing does not send the caret to 0: the search ran from 4, twice.
    QCOMPARE(selectionOf(w.talmo), (Selection{wsHead, 19}));
    QTRY_VERIFY(w.talmo->hasFocus());

    // With the caret after every occurrence the completion moves nothing.
    w.talmo->setSelectionStart(w.talmo->length() - 2);
    f.type(w.com, QStringLiteral("f"));
    QCOMPARE(w.com->currentText(), QStringLiteral("float(float v) rint ="));
    QCOMPARE(w.com->lineEdit()->selectedText(), QStringLiteral("loat(float v) rint ="));
    QCOMPARE(selectionOf(w.talmo), (Selection{w.talmo->length() - 2, 0}));
}

void WindowAnalysisTest::typingTextThatBeginsNoEntrySearchesAsTyped() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    w.talmo->setSelectionStart(0);
    w.com->setFocus();
    QVERIFY(w.com->hasFocus());

    // "q" is nowhere in the text: nothing moves and com keeps the focus.
    QTest::keyClick(w.com, Qt::Key_Q);
    QCOMPARE(w.com->currentText(), QStringLiteral("q"));
    QCOMPARE(selectionOf(w.talmo), (Selection{0, 0}));
    QVERIFY(w.com->hasFocus());

    // Deleting and typing "k": no entry begins with it, the first "k" after
    // the caret is selected and the editor takes the focus.
    QTest::keyClick(w.com, Qt::Key_Backspace);
    QCOMPARE(selectionOf(w.talmo), (Selection{0, 0}));
    QTest::keyClick(w.com, Qt::Key_K);
    QCOMPARE(w.com->currentText(), QStringLiteral("k"));
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(kDefs, "k"), 1}));
    QTRY_VERIFY(w.talmo->hasFocus());
}

void WindowAnalysisTest::enteringComRebuildsTheIndexFromTheEditedText() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    w.talmo->setFocus();
    w.talmo->setSelectionStart(w.talmo->length());
    QTest::keyClicks(w.talmo, QStringLiteral("entity(float n) pick = {};"));
    w.com->lineEdit()->setText(QStringLiteral("left over"));
    QCOMPARE(w.com->count(), 3);

    QTest::mouseClick(w.com->lineEdit(), Qt::LeftButton); // focus by the mouse
    QTRY_VERIFY(w.com->hasFocus());
    QCOMPARE(w.com->count(), 4);
    QCOMPARE(w.com->itemText(3), QStringLiteral("entity(float n) pick ="));
    QVERIFY(w.com->currentText().isEmpty());
}

void WindowAnalysisTest::enterInFindeditSearchesAndF3FindsTheNextOne() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    QVERIFY(w.lastSearch().isEmpty());
    // Enter in an empty box does nothing.
    f.type(w.findedit, QString(), true);
    QVERIFY(w.com->currentText().isEmpty());
    QVERIFY(w.lastSearch().isEmpty());

    f.type(w.findedit, QStringLiteral("THINK"), true);
    QCOMPARE(w.lastSearch(), QStringLiteral("THINK"));
    QCOMPARE(w.com->currentText(), QStringLiteral("THINK"));
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(kDefs, "think", 1), 5}));
    QTRY_VERIFY(w.talmo->hasFocus());

    // F3 in the editor goes on from the selection, and stops at the last one.
    w.com->lineEdit()->setText(QStringLiteral("something else"));
    QTest::keyClick(w.talmo, Qt::Key_F3);
    QCOMPARE(w.com->currentText(), QStringLiteral("THINK"));
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(kDefs, "think", 2), 5}));
    QTest::keyClick(w.talmo, Qt::Key_F3);
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(kDefs, "think", 3), 5}));
    QTest::keyClick(w.talmo, Qt::Key_F3);
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(kDefs, "think", 3), 5}));
    QCOMPARE(w.talmo->text(), kDefs); // F3 types nothing

    // Enter in com searches its text again from the selection.
    w.talmo->setSelectionStart(0);
    f.type(w.com, QStringLiteral("qq")); // typed text that is found nowhere
    w.com->lineEdit()->setText(QStringLiteral("worldspawn"));
    QTest::keyClick(w.com, Qt::Key_Return);
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(kDefs, "worldspawn", 1), 10}));
}

void WindowAnalysisTest::f3BeforeAnyFindEmptiesComAndMovesNothing() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    w.talmo->setSelectionStart(0);
    f.type(w.com, QStringLiteral("k"));
    QCOMPARE(w.com->currentText(), QStringLiteral("k"));
    const Selection before = selectionOf(w.talmo);
    QCOMPARE(before.length, 1L);

    w.talmo->setFocus();
    QTest::keyClick(w.talmo, Qt::Key_F3);
    QVERIFY(w.com->currentText().isEmpty());
    QCOMPARE(selectionOf(w.talmo), before);
    QCOMPARE(w.talmo->text(), kDefs);
}

void WindowAnalysisTest::enterOnAnEntryInComSearchesOnce() {
    const std::string thrice = "// three heads\r\nvoid() a =\r\nvoid() a =\r\nvoid() a =\r\n";
    WindowFixture f({{QStringLiteral("three.qc"), thrice}});
    TForm1& w = loadDefs(f, QStringLiteral("three.qc"));
    QCOMPARE(w.com->count(), 3);
    w.talmo->setSelectionStart(0);
    w.com->setFocus();
    w.com->lineEdit()->setText(QStringLiteral("void() a ="));
    QTest::keyClick(w.com, Qt::Key_Return);
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(thrice, "void() a =", 1), 10}));
}

void WindowAnalysisTest::colorizeMarksInTheChosenColourAndShowsTheEditPage() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    w.Manager->setCurrentIndex(3);
    QCOMPARE(w.ColorBox->selectedColour(), talmo::kRed);
    f.type(w.searchfor, QStringLiteral("Think"));
    QTest::mouseClick(w.Button3, Qt::LeftButton);

    QCOMPARE(w.Manager->currentIndex(), 1);
    QVERIFY(w.talmo->isVisible());
    for (int nth = 1; nth <= 3; ++nth) {
        const long at = positionOf(kDefs, "think", nth);
        QVERIFY(w.talmo->formatAt(at).colour == talmo::kRed);
        QVERIFY(w.talmo->formatAt(at + 4).colour == talmo::kRed);
        QVERIFY(w.talmo->formatAt(at + 5).colour != talmo::kRed);
    }
    QVERIFY(w.talmo->formatAt(positionOf(kDefs, "void")).bold); // bold kept
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(kDefs, "think", 3), 5}));
    QCOMPARE(w.talmo->text(), kDefs);

    // Another colour of the chooser; marks inside a comment too.
    w.Manager->setCurrentIndex(3);
    QVERIFY(w.ColorBox->selectColour(talmo::Rgb{128, 0, 128}));
    w.searchfor->clear();
    f.type(w.searchfor, QStringLiteral("block"));
    QTest::mouseClick(w.Button3, Qt::LeftButton);
    QVERIFY((w.talmo->formatAt(positionOf(kDefs, "block")).colour == talmo::Rgb{128, 0, 128}));
    QCOMPARE(w.Manager->currentIndex(), 1);
}

void WindowAnalysisTest::colorizeAndReplaceFindingNothingKeepTheSearchPage() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    w.talmo->setSelectionStart(30);
    w.talmo->setSelectionLength(4);
    const std::string caption = w.Manager->tabText(1).toStdString();

    struct Case {
        const char* name;
        QPushButton* button;
        QString search;
    };
    const Case cases[] = {
        {"colorize of a missing text", w.Button3, QStringLiteral("nowhere")},
        {"replace of a missing text", w.Button4, QStringLiteral("nowhere")},
        {"colorize with an empty search", w.Button3, QString()},
        {"replace with an empty search", w.Button4, QString()},
    };
    f.type(w.replaceby, QStringLiteral("x"));
    for (const Case& c : cases) {
        w.Manager->setCurrentIndex(3);
        w.searchfor->setText(c.search);
        QTest::mouseClick(c.button, Qt::LeftButton);
        QVERIFY2(w.Manager->currentIndex() == 3, c.name);
        QVERIFY2(!w.talmo->isHidden(), c.name);
        QVERIFY2(w.talmo->text() == kDefs, c.name);
        QCOMPARE(selectionOf(w.talmo), (Selection{30, 4}));
        QVERIFY2(w.talmo->formatAt(0).colour == talmo::kGreen, c.name);
        QVERIFY2(w.Manager->tabText(1).toStdString() == caption, c.name);
    }
}

void WindowAnalysisTest::replaceInAnotherCaseRewritesBlueAndShowsTheEditPage() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f, QStringLiteral("self.qc"));
    w.Manager->setCurrentIndex(3);
    f.type(w.searchfor, QStringLiteral("Self"));
    f.type(w.replaceby, QStringLiteral("self"));
    QTest::mouseClick(w.Button4, Qt::LeftButton);

    // Nothing visible changed in the letters that were already "self", yet
    // every occurrence is rewritten blue and the Edit page comes to the front.
    const std::string expected = "// uses self\r\n"
                                 "\tself.health = 0;\r\n"
                                 "\tself.frags = self.frags;\r\n";
    QCOMPARE(w.talmo->text(), expected);
    QCOMPARE(w.Manager->currentIndex(), 1);
    QVERIFY(w.talmo->isVisible());
    for (int nth = 1; nth <= 4; ++nth) {
        const long at = positionOf(expected, "self", nth);
        for (long p = at; p < at + 4; ++p)
            QVERIFY(w.talmo->formatAt(p).colour == talmo::kBlue);
        QVERIFY(w.talmo->formatAt(at + 4).colour != talmo::kBlue);
    }
    // The caret right after the last replacement; the page is not marked edited.
    QCOMPARE(selectionOf(w.talmo), (Selection{positionOf(expected, "self", 4) + 4, 0}));
    QCOMPARE(w.Manager->tabText(1), QStringLiteral("&Edit self.qc"));

    // A replacement that makes the text longer still reaches the end, and
    // the inserted text is not searched again.
    w.Manager->setCurrentIndex(3);
    w.searchfor->setText(QStringLiteral("frags"));
    w.replaceby->setText(QStringLiteral("frags_frags"));
    QTest::mouseClick(w.Button4, Qt::LeftButton);
    QCOMPARE(w.talmo->text(), std::string("// uses self\r\n"
                                          "\tself.health = 0;\r\n"
                                          "\tself.frags_frags = self.frags_frags;\r\n"));
}

QTEST_MAIN(WindowAnalysisTest)
#include "window_analysis_test.moc"
