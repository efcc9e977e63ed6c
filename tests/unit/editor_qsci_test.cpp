// SPDX-License-Identifier: GPL-3.0-or-later
// What only the QScintilla view can get wrong: keys and shortcuts, mouse
// events, Scintilla styles, undo, the system clipboard, fonts and speed.
#include "QsciEditor.h"
#include "QsciView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace talmo {
namespace {

// A shown, active window holding one focused editor, with every event recorded.
class QsciEditorInWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        view = new QsciView(window.get());
        ed = view->editor();
        layout->addWidget(view);
        window->resize(400, 300);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ed->setFocus();
        ed->setEvents({[this](int key) { downs.push_back(key); }, [this](char c) { pressed += c; },
                       [this] { mouseDownCaret = ed->selectionStart(); },
                       [this] { mouseUpCaret = ed->selectionStart(); },
                       [this](const std::string& c) { refused += c; }});
    }

    QAction* addAction(const QKeySequence& keys, int& fired) {
        auto* action = new QAction(view);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(action, &QAction::triggered, [&fired] { ++fired; });
        view->addAction(action);
        return action;
    }

    long sci(unsigned msg, unsigned long w = 0, long l = 0) const {
        return view->SendScintilla(msg, w, l);
    }

    std::unique_ptr<QWidget> window;
    QsciView* view = nullptr;
    QsciEditor* ed = nullptr;
    std::vector<int> downs;
    std::string pressed;
    std::string refused; // characters refused, in UTF-8
    long mouseDownCaret = -1;
    long mouseUpCaret = -1;
};

TEST_F(QsciEditorInWindow, ActionShortcutsWinOverScintillasKeyBindings) {
    int copies = 0;
    int helps = 0;
    int finds = 0;
    addAction(QKeySequence(Qt::CTRL | Qt::Key_C), copies);
    addAction(QKeySequence(Qt::Key_F1), helps);
    addAction(QKeySequence(Qt::Key_F3), finds);
    ed->setText("word");
    ed->setSelectionStart(0);
    ed->setSelectionLength(4);
    QApplication::clipboard()->setText(QStringLiteral("before"));

    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_F1);
    QTest::keyClick(view, Qt::Key_F3);

    EXPECT_EQ(copies, 1);
    EXPECT_EQ(helps, 1);
    EXPECT_EQ(finds, 1);
    // Only the Ctrl key itself goes down in the editor; the shortcut keys do not.
    EXPECT_EQ(downs, std::vector<int>{Qt::Key_Control});
    EXPECT_EQ(pressed, "");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"))
        << "Scintilla's own copy did not run";
}

TEST_F(QsciEditorInWindow, WithoutAnActionScintillaKeepsItsBinding) {
    ed->setText("word");
    ed->setSelectionStart(0);
    ed->setSelectionLength(4);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("word"));
}

TEST_F(QsciEditorInWindow, KeyPressFiresForTypedCharactersNotForNavigation) {
    ed->setText("xyz");
    ed->setSelectionStart(3);
    QTest::keyClick(view, Qt::Key_A);
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Tab);
    QTest::keyClick(view, Qt::Key_Backspace);
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Home);
    QTest::keyClick(view, Qt::Key_Shift);
    EXPECT_EQ(pressed, "a\r\t\b");
    EXPECT_EQ(downs, (std::vector<int>{Qt::Key_A, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backspace,
                                       Qt::Key_Left, Qt::Key_Home, Qt::Key_Shift}));
    EXPECT_EQ(ed->text(), "xyza\r\n");
}

TEST_F(QsciEditorInWindow, KeyDownComesBeforeTheKeyActs) {
    ed->setText("ab");
    ed->setSelectionStart(2);
    std::string textAtKeyDown;
    ed->setEvents({[&](int) {
                       textAtKeyDown = ed->text();
                       ed->setSelectionColour(kBlue); // what the window does
                   },
                   {},
                   {},
                   {},
                   {}});
    QTest::keyClick(view, Qt::Key_C);
    EXPECT_EQ(textAtKeyDown, "ab");
    EXPECT_EQ(ed->text(), "abc");
    EXPECT_EQ(ed->formatAt(2), (CharFormat{kBlue, false})) << "typed in the colour set at key-down";
    EXPECT_EQ(ed->formatAt(1), (CharFormat{kBlack, false}));
}

TEST_F(QsciEditorInWindow, ArrowKeysDropThePendingFormatButTypingKeepsIt) {
    ed->setText("ab");
    ed->setSelectionStart(1);
    ed->setSelectionColour(kRed);
    QTest::keyClick(view, Qt::Key_X);
    QTest::keyClick(view, Qt::Key_Y);
    EXPECT_EQ(ed->formatAt(1), (CharFormat{kRed, false}));
    EXPECT_EQ(ed->formatAt(2), (CharFormat{kRed, false}));
    ed->setSelectionColour(kGreen);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Z);
    EXPECT_EQ(ed->text(), "axybz");
    EXPECT_EQ(ed->formatAt(4), (CharFormat{kBlack, false})) << "takes the format before, not green";
}

TEST_F(QsciEditorInWindow, Windows1252CharactersAreTypedAsTheirByte) {
    ed->setText("");
    QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QString(QChar(0x20AC)),
                        Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QString(QChar(0xE9)), Qt::NoModifier);
    EXPECT_EQ(ed->text(), "\x80\xe9");
    EXPECT_EQ(pressed, "\x80\xe9");
}

// The ways text reaches the editor besides one key with one character.
enum class InputPath { InputMethod, KeyWithSeveralCharacters, CtrlAltKey, Paste, Drop };

struct InputCase {
    const char* name;
    InputPath path;
    const char16_t* text;
    std::string after;   // of "aXYb" with "XY" selected
    std::string typed;   // characters the key-press event reports
    std::string refused; // in UTF-8
};

TEST_F(QsciEditorInWindow, TextFromEveryInputPathGoesThroughTheTextBoundary) {
    const std::string omega = "\xce\xa9";
    const std::string euro = "\x80";
    const std::string euroOe = "\x80\x9c"; // the bytes of the euro sign and oe
    const std::vector<InputCase> cases = {
        {"input method", InputPath::InputMethod, u"\u20ac\u0153", "a" + euroOe + "b", euroOe, ""},
        {"input method, no byte", InputPath::InputMethod, u"\u03a9", "aXYb", "", omega},
        {"key with two characters", InputPath::KeyWithSeveralCharacters, u"\u20ac\u0153",
         "a" + euroOe + "b", euroOe, ""},
        {"key with two characters, one without a byte", InputPath::KeyWithSeveralCharacters,
         u"e\u03a9", "aXYb", "", omega},
        {"AltGr as Ctrl+Alt", InputPath::CtrlAltKey, u"\u20ac", "a" + euro + "b", euro, ""},
        {"AltGr as Ctrl+Alt, no byte", InputPath::CtrlAltKey, u"\u03a9", "aXYb", "", omega},
        {"paste", InputPath::Paste, u"\u20ac\u0153", "a" + euroOe + "b", "", ""},
        {"paste, no byte", InputPath::Paste, u"\u03a9", "aXYb", "", omega},
        {"drop", InputPath::Drop, u"\u20ac\u0153", "aXYb" + euroOe, "", ""},
        {"drop, no byte", InputPath::Drop, u"\u03a9", "aXYb", "", omega},
    };
    for (const InputCase& c : cases) {
        SCOPED_TRACE(c.name);
        ed->setText("aXYb");
        ed->setSelectionStart(1);
        ed->setSelectionLength(2);
        pressed.clear();
        refused.clear();
        ed->setEvents({[this](int) { ed->setSelectionColour(kBlue); }, // what the window does
                       [this](char ch) { pressed += ch; },
                       {},
                       {},
                       [this](const std::string& ch) { refused += ch; }});
        const QString text = QString::fromUtf16(c.text);
        switch (c.path) {
        case InputPath::InputMethod: {
            QInputMethodEvent composing(text, {});
            QCoreApplication::sendEvent(view, &composing);
            if (c.refused.empty()) {
                EXPECT_EQ(ed->text(), c.after) << "the composition shows as its bytes";
            }
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(view, &commit);
            break;
        }
        case InputPath::KeyWithSeveralCharacters:
            QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, text, Qt::NoModifier);
            break;
        case InputPath::CtrlAltKey:
            QTest::sendKeyEvent(QTest::Click, view, Qt::Key_E, text,
                                Qt::ControlModifier | Qt::AltModifier);
            break;
        case InputPath::Paste:
            QApplication::clipboard()->setText(text);
            ed->paste();
            break;
        case InputPath::Drop: {
            QMimeData mime;
            mime.setText(text);
            const QPoint end(
                static_cast<int>(sci(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, 4)),
                static_cast<int>(sci(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, 4)) + 3);
            QDragEnterEvent enter(end, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view->viewport(), &enter);
            QDropEvent drop(QPointF(end), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view->viewport(), &drop);
            EXPECT_EQ(drop.isAccepted(), c.refused.empty()) << "a refused drop is not taken";
            break;
        }
        }
        EXPECT_EQ(ed->text(), c.after);
        EXPECT_EQ(pressed, c.typed);
        EXPECT_EQ(refused, c.refused);
        if (!c.typed.empty()) {
            EXPECT_EQ(ed->formatAt(1), (CharFormat{kBlue, false})) << "typed in the typing colour";
        }
    }
}

TEST_F(QsciEditorInWindow, CtrlWithALetterTypesItsControlCharacter) {
    ed->setText("");
    QTest::keyClick(view, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(pressed, "\x02");
    EXPECT_EQ(ed->text(), "") << "nothing is inserted";
}

TEST_F(QsciEditorInWindow, MouseEventsComeAfterTheClickMovedTheCaret) {
    ed->setText("hello world");
    ed->setSelectionStart(0);
    const int x = static_cast<int>(sci(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, 6));
    const int y = static_cast<int>(sci(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, 6));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x + 1, y + 3));
    EXPECT_EQ(mouseDownCaret, 6);
    EXPECT_EQ(mouseUpCaret, 6);
}

TEST_F(QsciEditorInWindow, FormatsSurvivePainting) {
    ed->setText("float x;\r\n// note");
    ed->applyBold({{0, 5}});
    ed->applyColour({{10, 7}}, kGreen);
    view->grab();
    QApplication::processEvents();
    EXPECT_EQ(ed->formatAt(0), (CharFormat{kBlack, true}));
    EXPECT_EQ(ed->formatAt(12), (CharFormat{kGreen, false}));
    EXPECT_EQ(ed->formatAt(6), (CharFormat{kBlack, false}));
}

TEST(QsciEditor, ManyFormatsNeverUseScintillasOwnStyles) {
    QsciView edView;
    QsciEditor& ed = *edView.editor();
    ed.setText(std::string(60, 'x'));
    for (int i = 0; i < 60; ++i)
        ed.applyColour({{i, 1}}, Rgb{static_cast<std::uint8_t>(i), 0, 0});
    for (int i = 0; i < 60; ++i) {
        const long style =
            edView.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(i));
        EXPECT_FALSE(style >= 32 && style <= 39) << "char " << i << " got style " << style;
        EXPECT_EQ(ed.formatAt(i).colour, (Rgb{static_cast<std::uint8_t>(i), 0, 0})) << "char " << i;
    }
}

TEST(QsciEditor, EveryStyleHasItsOwnColourBoldAndFont) {
    QsciView edView;
    QsciEditor& ed = *edView.editor();
    edView.setEditorFont(QFont(QStringLiteral("No Such Face Anywhere"), 9));
    ed.setText("ab");
    ed.applyColour({{1, 1}}, kRed);
    ed.applyBold({{1, 1}});
    const auto style =
        static_cast<unsigned long>(edView.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 1UL));
    EXPECT_EQ(edView.SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, style), 0x0000FF)
        << "BGR red";
    EXPECT_EQ(edView.SendScintilla(QsciScintillaBase::SCI_STYLEGETBOLD, style), 1);
    const QString fixedFamily = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    EXPECT_EQ(edView.editorFont().family(), fixedFamily) << "a missing face falls back";
    for (unsigned long s : {0UL, style}) {
        char face[128] = {};
        edView.SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, s, face);
        EXPECT_EQ(QString::fromUtf8(face), fixedFamily) << "style " << s;
        EXPECT_EQ(edView.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZE, s), 9) << "style " << s;
    }
}

TEST(QsciEditor, LoadingClearsTheUndoHistory) {
    QsciView edView;
    QsciEditor& ed = *edView.editor();
    ed.setText("a");
    EXPECT_EQ(edView.SendScintilla(QsciScintillaBase::SCI_CANUNDO), 0);
    edView.typeText("b");
    EXPECT_EQ(edView.SendScintilla(QsciScintillaBase::SCI_CANUNDO), 1) << "typing can be undone";
    ed.setText("c");
    EXPECT_EQ(edView.SendScintilla(QsciScintillaBase::SCI_CANUNDO), 0);
}

TEST(QsciEditor, PasteTakesThePendingFormat) {
    QsciView edView;
    QsciEditor& ed = *edView.editor();
    ed.setText("ab");
    QApplication::clipboard()->setText(QStringLiteral("xy"));
    ed.setSelectionStart(1);
    ed.setSelectionColour(kBlue);
    ed.paste();
    EXPECT_EQ(ed.text(), "axyb");
    EXPECT_EQ(ed.formatAt(1), (CharFormat{kBlue, false}));
    EXPECT_EQ(ed.formatAt(2), (CharFormat{kBlue, false}));
    EXPECT_EQ(ed.formatAt(3), (CharFormat{kBlack, false}));
}

TEST(QsciEditor, ClipboardCarriesWindows1252AsUnicode) {
    QsciView edView;
    QsciEditor& ed = *edView.editor();
    ed.setText("\x80\xe9\x81\x7f");
    ed.setSelectionStart(0);
    ed.setSelectionLength(4);
    ed.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf16(u"\u20ac\u00e9\u0081\u007f"));
    QApplication::clipboard()->setText(QString::fromUtf16(u"\u0152uvre \u2122"));
    ed.setSelectionStart(4);
    ed.paste();
    EXPECT_EQ(ed.text(), "\x80\xe9\x81\x7f\x8cuvre \x99");
    // A character the 8-bit text cannot hold is never stored as '?'.
    QApplication::clipboard()->setText(QString::fromUtf16(u"\u4e2d"));
    ed.paste();
    EXPECT_EQ(ed.text(), "\x80\xe9\x81\x7f\x8cuvre \x99");
}

TEST(QsciEditor, CopyCutAndPasteKeepEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    QsciView fromView;
    QsciEditor& from = *fromView.editor();
    from.setText(all);
    const std::string stored = from.text(); // CR and LF each held as CR LF
    from.setSelectionStart(0);
    from.setSelectionLength(from.length());
    from.copy();
    QsciView toView;
    QsciEditor& to = *toView.editor();
    to.paste();
    EXPECT_EQ(to.text(), stored);

    // A system clipboard that keeps C strings hands the plain text back cut
    // at its first NUL; the raw bytes beside it still carry the whole text.
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    auto* cutAtNul = new QMimeData;
    for (const QString& format : copied->formats())
        cutAtNul->setData(format, copied->data(format));
    cutAtNul->setText(copied->text().left(copied->text().indexOf(QChar(0))));
    QApplication::clipboard()->setMimeData(cutAtNul);
    to.setText("");
    to.paste();
    EXPECT_EQ(to.text(), stored);

    // Dropped from elsewhere, the same.
    QsciView dropTargetView;
    QsciEditor& dropTarget = *dropTargetView.editor();
    const QMimeData* dragged = QApplication::clipboard()->mimeData();
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dropTargetView.viewport(), &enter);
    QDropEvent drop(QPointF(1, 1), Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dropTargetView.viewport(), &drop);
    EXPECT_EQ(dropTarget.text(), stored);

    from.setSelectionStart(0);
    from.setSelectionLength(from.length());
    from.cut();
    EXPECT_EQ(from.text(), "");
    from.paste();
    EXPECT_EQ(from.text(), stored);
}

TEST(QsciEditor, BulkEditsOfAMegabyteTakeOneReplace) {
    std::string text;
    while (text.size() < 1'000'000)
        text += "float value = 1;\r\n";
    QsciView edView;
    QsciEditor& ed = *edView.editor();
    ed.setText(text);
    std::vector<Edit> edits;
    for (long p = 0; edits.size() < 10'000; p += 90)
        edits.push_back({p, 5, "vector", {kBlue, false}});
    QElapsedTimer timer;
    timer.start();
    ed.applyEdits(edits);
    const qint64 ms = timer.elapsed();
    EXPECT_LT(ms, 500) << "10,000 edits over 1 MB";
    EXPECT_EQ(ed.length(), static_cast<long>(text.size()) + 10'000);
    EXPECT_EQ(ed.text().substr(0, 25), "vector value = 1;\r\nfloat ");
    EXPECT_EQ(ed.formatAt(0), (CharFormat{kBlue, false}));
    EXPECT_EQ(ed.formatAt(6), (CharFormat{kBlack, false}));
    EXPECT_EQ(edView.SendScintilla(QsciScintillaBase::SCI_CANUNDO), 1);
    edView.SendScintilla(QsciScintillaBase::SCI_UNDO);
    EXPECT_EQ(ed.text(), text) << "the whole bulk edit is one undo step";
}

} // namespace
} // namespace talmo
