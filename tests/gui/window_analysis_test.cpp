// SPDX-License-Identifier: GPL-3.0-or-later
// QuakeC analysis in the window, driven as a user would: the highlighting
// after a load and from the Syntax button, the function box `com` (picks,
// close-up, completion, typed searches), find and F3, Colorize Search and
// Search and Replace on the RSearch page.
#include "WindowFixture.h"

#include "ColourChooser.h"
#include "EditPage.h"
#include "FileListBox.h"
#include "FunctionCombo.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using talmo::testing::control;
using talmo::testing::editor;
using talmo::testing::editorView;
using talmo::testing::part;
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
    if (!f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), name))
        qFatal("no list entry %s", qPrintable(name));
    return w;
}

// Opens com's list with the mouse and clicks the entry of that text.
void pickWithMouse(TForm1& w, const QString& entry) {
    QTest::mouseClick(control<talmo::FunctionCombo>(w, "com"), Qt::LeftButton, {},
                      QPoint(control<talmo::FunctionCombo>(w, "com")->width() - 6,
                             control<talmo::FunctionCombo>(w, "com")->height() / 2));
    QAbstractItemView* view = control<talmo::FunctionCombo>(w, "com")->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    // The list ignores a release that comes too soon after it opened.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const int row = control<talmo::FunctionCombo>(w, "com")->findText(entry, Qt::MatchExactly);
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
    const std::string text = editor(w)->text();
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
            const talmo::CharFormat got = editor(w)->formatAt(p);
            QVERIFY2(got.bold == e.bold && got.colour == e.colour, e.what);
        }
    }
    // A line comment ends before its CR; the closing "*/" is coloured whole.
    QVERIFY(editor(w)->formatAt(positionOf(text, "\r\nvoid() think")).colour == talmo::kBlack);
    QVERIFY(editor(w)->formatAt(positionOf(text, "*/") + 1).colour == talmo::kGreen);
    QVERIFY(editor(w)->formatAt(positionOf(text, "*/") + 2).colour == talmo::kBlack);

    QCOMPARE(itemsOf(control<talmo::FunctionCombo>(w, "com")),
             (QStringList{QStringLiteral("float(float v) rint ="),
                          QStringLiteral("void() worldspawn ="), QStringLiteral("void() main =")}));
    QVERIFY(control<talmo::FunctionCombo>(w, "com")->currentText().isEmpty());
    // The caret went back where it was before the switch.
    QCOMPARE(selectionOf(editor(w)), (Selection{0, 0}));
}

void WindowAnalysisTest::syntaxButtonFormatsTypedTextAndSelectsTheLastComment() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    editor(w)->setFocus();
    editor(w)->setSelectionStart(editor(w)->length());
    QTest::keyClicks(editorView(w), QStringLiteral("// vector note"));
    QTest::keyClick(editorView(w), Qt::Key_Return);
    const std::string text = editor(w)->text();
    QCOMPARE(text, kDefs + "// vector note\r\n");
    const long comment = static_cast<long>(kDefs.size());
    QVERIFY(editor(w)->formatAt(comment).colour == talmo::kBlue); // typed text
    QVERIFY(!editor(w)->formatAt(comment + 3).bold);

    QTest::mouseClick(control<QPushButton>(w, "syntaxcolor"), Qt::LeftButton);
    for (long p = comment; p < comment + 14; ++p)
        QVERIFY(editor(w)->formatAt(p).colour == talmo::kGreen);
    for (long p = comment + 3; p < comment + 9; ++p)
        QVERIFY(editor(w)->formatAt(p).bold); // "vector"
    QVERIFY(!editor(w)->formatAt(comment + 10).bold);
    // The pass ends with the last line comment selected.
    QCOMPARE(selectionOf(editor(w)), (Selection{comment, 14}));
    // Earlier formatting stays: the file's own comment is still green.
    QVERIFY(editor(w)->formatAt(0).colour == talmo::kGreen);
}

void WindowAnalysisTest::pickingAnEntryWithTheMouseSelectsTheDefinition() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    const long mainHead = positionOf(kDefs, "void() main =");
    // The caret stands after the definition: closing the list sends it to 0.
    editor(w)->setSelectionStart(editor(w)->length());

    pickWithMouse(w, QStringLiteral("void() main ="));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(),
             QStringLiteral("void() main ="));
    QCOMPARE(selectionOf(editor(w)), (Selection{mainHead, 13}));
    QTRY_VERIFY(editorView(w)->hasFocus());

    // Picking it again: entering com emptied its text, so the close-up finds
    // nothing, the first run of the pick finds the head from position 1 and
    // the second finds nothing after it.
    pickWithMouse(w, QStringLiteral("void() main ="));
    QCOMPARE(selectionOf(editor(w)), (Selection{mainHead, 13}));

    // An arrow key picks too, without sending the caret to 0.
    editor(w)->setSelectionStart(1);
    control<talmo::FunctionCombo>(w, "com")->setFocus();
    QVERIFY(control<talmo::FunctionCombo>(w, "com")->currentText().isEmpty());
    QTest::keyClick(control<talmo::FunctionCombo>(w, "com"), Qt::Key_Down);
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(),
             QStringLiteral("float(float v) rint ="));
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(kDefs, "float(float v) rint ="), 21}));
}

void WindowAnalysisTest::closingTheListPutsTheCaretAtZeroAndSearches() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    editor(w)->setSelectionStart(editor(w)->length());
    // "zz" begins no entry and is not in the text: the typed search finds
    // nothing from the end of the text.
    f.type(control<talmo::FunctionCombo>(w, "com"), QStringLiteral("zz"));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(), QStringLiteral("zz"));
    QCOMPARE(selectionOf(editor(w)), (Selection{editor(w)->length(), 0}));

    editor(w)->setSelectionStart(editor(w)->length());
    control<talmo::FunctionCombo>(w, "com")->lineEdit()->setText(
        QStringLiteral("think")); // not a user edit: runs nothing
    QCOMPARE(selectionOf(editor(w)), (Selection{editor(w)->length(), 0}));
    control<talmo::FunctionCombo>(w, "com")->showPopup();
    QVERIFY(
        QTest::qWaitForWindowExposed(control<talmo::FunctionCombo>(w, "com")->view()->window()));
    QTest::keyClick(control<talmo::FunctionCombo>(w, "com")->view(), Qt::Key_Escape);
    QTRY_VERIFY(!control<talmo::FunctionCombo>(w, "com")->view()->isVisible());
    // Caret to 0, then find-next for "think" from position 1.
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(), QStringLiteral("think"));
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(kDefs, "think"), 5}));

    // Nothing to find from position 1 (the text begins with it): the caret
    // stays at 0.
    control<talmo::FunctionCombo>(w, "com")->lineEdit()->setText(QStringLiteral("// defs"));
    editor(w)->setSelectionStart(40);
    control<talmo::FunctionCombo>(w, "com")->showPopup();
    QVERIFY(
        QTest::qWaitForWindowExposed(control<talmo::FunctionCombo>(w, "com")->view()->window()));
    control<talmo::FunctionCombo>(w, "com")->hidePopup();
    QCOMPARE(selectionOf(editor(w)), (Selection{0, 0}));
}

void WindowAnalysisTest::typingAnInitialCompletesAndSelectsTheNextOccurrence() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    const long wsHead = positionOf(kDefs, "void() worldspawn =");
    editor(w)->setSelectionStart(3);

    f.type(control<talmo::FunctionCombo>(w, "com"), QStringLiteral("V")); // case is ignored
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(),
             QStringLiteral("void() worldspawn ="));
    // Typing does not send the caret to 0: the search ran from 4, twice.
    QCOMPARE(selectionOf(editor(w)), (Selection{wsHead, 19}));
    QTRY_VERIFY(editorView(w)->hasFocus());

    // With the caret after every occurrence the completion moves nothing.
    editor(w)->setSelectionStart(editor(w)->length() - 2);
    f.type(control<talmo::FunctionCombo>(w, "com"), QStringLiteral("f"));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(),
             QStringLiteral("float(float v) rint ="));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->lineEdit()->selectedText(),
             QStringLiteral("loat(float v) rint ="));
    QCOMPARE(selectionOf(editor(w)), (Selection{editor(w)->length() - 2, 0}));
}

void WindowAnalysisTest::typingTextThatBeginsNoEntrySearchesAsTyped() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    editor(w)->setSelectionStart(0);
    control<talmo::FunctionCombo>(w, "com")->setFocus();
    QVERIFY(control<talmo::FunctionCombo>(w, "com")->hasFocus());

    // "q" is nowhere in the text: nothing moves and com keeps the focus.
    QTest::keyClick(control<talmo::FunctionCombo>(w, "com"), Qt::Key_Q);
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(), QStringLiteral("q"));
    QCOMPARE(selectionOf(editor(w)), (Selection{0, 0}));
    QVERIFY(control<talmo::FunctionCombo>(w, "com")->hasFocus());

    // Deleting and typing "k": no entry begins with it, the first "k" after
    // the caret is selected and the editor takes the focus.
    QTest::keyClick(control<talmo::FunctionCombo>(w, "com"), Qt::Key_Backspace);
    QCOMPARE(selectionOf(editor(w)), (Selection{0, 0}));
    QTest::keyClick(control<talmo::FunctionCombo>(w, "com"), Qt::Key_K);
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(), QStringLiteral("k"));
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(kDefs, "k"), 1}));
    QTRY_VERIFY(editorView(w)->hasFocus());
}

void WindowAnalysisTest::enteringComRebuildsTheIndexFromTheEditedText() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    editor(w)->setFocus();
    editor(w)->setSelectionStart(editor(w)->length());
    QTest::keyClicks(editorView(w), QStringLiteral("entity(float n) pick = {};"));
    control<talmo::FunctionCombo>(w, "com")->lineEdit()->setText(QStringLiteral("left over"));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->count(), 3);

    QTest::mouseClick(control<talmo::FunctionCombo>(w, "com")->lineEdit(),
                      Qt::LeftButton); // focus by the mouse
    QTRY_VERIFY(control<talmo::FunctionCombo>(w, "com")->hasFocus());
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->count(), 4);
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->itemText(3),
             QStringLiteral("entity(float n) pick ="));
    QVERIFY(control<talmo::FunctionCombo>(w, "com")->currentText().isEmpty());
}

void WindowAnalysisTest::enterInFindeditSearchesAndF3FindsTheNextOne() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    QVERIFY(part<talmo::EditPage>(w)->lastSearch().isEmpty());
    // Enter in an empty box does nothing.
    f.type(control<QLineEdit>(w, "findedit"), QString(), true);
    QVERIFY(control<talmo::FunctionCombo>(w, "com")->currentText().isEmpty());
    QVERIFY(part<talmo::EditPage>(w)->lastSearch().isEmpty());

    f.type(control<QLineEdit>(w, "findedit"), QStringLiteral("THINK"), true);
    QCOMPARE(part<talmo::EditPage>(w)->lastSearch(), QStringLiteral("THINK"));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(), QStringLiteral("THINK"));
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(kDefs, "think", 1), 5}));
    QTRY_VERIFY(editorView(w)->hasFocus());

    // F3 in the editor goes on from the selection, and stops at the last one.
    control<talmo::FunctionCombo>(w, "com")->lineEdit()->setText(QStringLiteral("something else"));
    QTest::keyClick(editorView(w), Qt::Key_F3);
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(), QStringLiteral("THINK"));
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(kDefs, "think", 2), 5}));
    QTest::keyClick(editorView(w), Qt::Key_F3);
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(kDefs, "think", 3), 5}));
    QTest::keyClick(editorView(w), Qt::Key_F3);
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(kDefs, "think", 3), 5}));
    QCOMPARE(editor(w)->text(), kDefs); // F3 types nothing

    // Enter in com searches its text again from the selection.
    editor(w)->setSelectionStart(0);
    f.type(control<talmo::FunctionCombo>(w, "com"),
           QStringLiteral("qq")); // typed text that is found nowhere
    control<talmo::FunctionCombo>(w, "com")->lineEdit()->setText(QStringLiteral("worldspawn"));
    QTest::keyClick(control<talmo::FunctionCombo>(w, "com"), Qt::Key_Return);
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(kDefs, "worldspawn", 1), 10}));
}

void WindowAnalysisTest::f3BeforeAnyFindEmptiesComAndMovesNothing() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    editor(w)->setSelectionStart(0);
    f.type(control<talmo::FunctionCombo>(w, "com"), QStringLiteral("k"));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(), QStringLiteral("k"));
    const Selection before = selectionOf(editor(w));
    QCOMPARE(before.length, 1L);

    editor(w)->setFocus();
    QTest::keyClick(editorView(w), Qt::Key_F3);
    QVERIFY(control<talmo::FunctionCombo>(w, "com")->currentText().isEmpty());
    QCOMPARE(selectionOf(editor(w)), before);
    QCOMPARE(editor(w)->text(), kDefs);
}

void WindowAnalysisTest::enterOnAnEntryInComSearchesOnce() {
    const std::string thrice = "// three heads\r\nvoid() a =\r\nvoid() a =\r\nvoid() a =\r\n";
    WindowFixture f({{QStringLiteral("three.qc"), thrice}});
    TForm1& w = loadDefs(f, QStringLiteral("three.qc"));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->count(), 3);
    editor(w)->setSelectionStart(0);
    control<talmo::FunctionCombo>(w, "com")->setFocus();
    control<talmo::FunctionCombo>(w, "com")->lineEdit()->setText(QStringLiteral("void() a ="));
    QTest::keyClick(control<talmo::FunctionCombo>(w, "com"), Qt::Key_Return);
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(thrice, "void() a =", 1), 10}));
}

void WindowAnalysisTest::colorizeMarksInTheChosenColourAndShowsTheEditPage() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);
    QCOMPARE(control<talmo::ColourChooser>(w, "ColorBox")->selectedColour(), talmo::kRed);
    f.type(control<QLineEdit>(w, "searchfor"), QStringLiteral("Think"));
    QTest::mouseClick(control<QPushButton>(w, "Button3"), Qt::LeftButton);

    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 1);
    QVERIFY(editorView(w)->isVisible());
    for (int nth = 1; nth <= 3; ++nth) {
        const long at = positionOf(kDefs, "think", nth);
        QVERIFY(editor(w)->formatAt(at).colour == talmo::kRed);
        QVERIFY(editor(w)->formatAt(at + 4).colour == talmo::kRed);
        QVERIFY(editor(w)->formatAt(at + 5).colour != talmo::kRed);
    }
    QVERIFY(editor(w)->formatAt(positionOf(kDefs, "void")).bold); // bold kept
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(kDefs, "think", 3), 5}));
    QCOMPARE(editor(w)->text(), kDefs);

    // Another colour of the chooser; marks inside a comment too.
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);
    QVERIFY(control<talmo::ColourChooser>(w, "ColorBox")->selectColour(talmo::Rgb{128, 0, 128}));
    control<QLineEdit>(w, "searchfor")->clear();
    f.type(control<QLineEdit>(w, "searchfor"), QStringLiteral("block"));
    QTest::mouseClick(control<QPushButton>(w, "Button3"), Qt::LeftButton);
    QVERIFY((editor(w)->formatAt(positionOf(kDefs, "block")).colour == talmo::Rgb{128, 0, 128}));
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 1);
}

void WindowAnalysisTest::colorizeAndReplaceFindingNothingKeepTheSearchPage() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f);
    editor(w)->setSelectionStart(30);
    editor(w)->setSelectionLength(4);
    const std::string caption = control<QTabWidget>(w, "Manager")->tabText(1).toStdString();

    struct Case {
        const char* name;
        QPushButton* button;
        QString search;
    };
    const Case cases[] = {
        {"colorize of a missing text", control<QPushButton>(w, "Button3"),
         QStringLiteral("nowhere")},
        {"replace of a missing text", control<QPushButton>(w, "Button4"),
         QStringLiteral("nowhere")},
        {"colorize with an empty search", control<QPushButton>(w, "Button3"), QString()},
        {"replace with an empty search", control<QPushButton>(w, "Button4"), QString()},
    };
    f.type(control<QLineEdit>(w, "replaceby"), QStringLiteral("x"));
    for (const Case& c : cases) {
        control<QTabWidget>(w, "Manager")->setCurrentIndex(3);
        control<QLineEdit>(w, "searchfor")->setText(c.search);
        QTest::mouseClick(c.button, Qt::LeftButton);
        QVERIFY2(control<QTabWidget>(w, "Manager")->currentIndex() == 3, c.name);
        QVERIFY2(!editorView(w)->isHidden(), c.name);
        QVERIFY2(editor(w)->text() == kDefs, c.name);
        QCOMPARE(selectionOf(editor(w)), (Selection{30, 4}));
        QVERIFY2(editor(w)->formatAt(0).colour == talmo::kGreen, c.name);
        QVERIFY2(control<QTabWidget>(w, "Manager")->tabText(1).toStdString() == caption, c.name);
    }
}

void WindowAnalysisTest::replaceInAnotherCaseRewritesBlueAndShowsTheEditPage() {
    WindowFixture f(mod());
    TForm1& w = loadDefs(f, QStringLiteral("self.qc"));
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);
    f.type(control<QLineEdit>(w, "searchfor"), QStringLiteral("Self"));
    f.type(control<QLineEdit>(w, "replaceby"), QStringLiteral("self"));
    QTest::mouseClick(control<QPushButton>(w, "Button4"), Qt::LeftButton);

    // Nothing visible changed in the letters that were already "self", yet
    // every occurrence is rewritten blue and the Edit page comes to the front.
    const std::string expected = "// uses self\r\n"
                                 "\tself.health = 0;\r\n"
                                 "\tself.frags = self.frags;\r\n";
    QCOMPARE(editor(w)->text(), expected);
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), 1);
    QVERIFY(editorView(w)->isVisible());
    for (int nth = 1; nth <= 4; ++nth) {
        const long at = positionOf(expected, "self", nth);
        for (long p = at; p < at + 4; ++p)
            QVERIFY(editor(w)->formatAt(p).colour == talmo::kBlue);
        QVERIFY(editor(w)->formatAt(at + 4).colour != talmo::kBlue);
    }
    // The caret right after the last replacement; the page is not marked edited.
    QCOMPARE(selectionOf(editor(w)), (Selection{positionOf(expected, "self", 4) + 4, 0}));
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(1), QStringLiteral("&Edit self.qc"));

    // A replacement that makes the text longer still reaches the end, and
    // the inserted text is not searched again.
    control<QTabWidget>(w, "Manager")->setCurrentIndex(3);
    control<QLineEdit>(w, "searchfor")->setText(QStringLiteral("frags"));
    control<QLineEdit>(w, "replaceby")->setText(QStringLiteral("frags_frags"));
    QTest::mouseClick(control<QPushButton>(w, "Button4"), Qt::LeftButton);
    QCOMPARE(editor(w)->text(), std::string("// uses self\r\n"
                                            "\tself.health = 0;\r\n"
                                            "\tself.frags_frags = self.frags_frags;\r\n"));
}

QTEST_MAIN(WindowAnalysisTest)
#include "window_analysis_test.moc"
