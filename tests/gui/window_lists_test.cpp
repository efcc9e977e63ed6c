// SPDX-License-Identifier: GPL-3.0-or-later
// The file lists and `com` as a user meets them: the "*.*" mask, the right
// click that only picks an entry for the pop-up menu, one load per click on
// the All list, and no completion or search while deleting in `com`.
#include "WindowFixture.h"

#include "FileListBox.h"
#include "FunctionCombo.h"
#include "QsciEditor.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

using talmo::testing::control;
using talmo::testing::editor;
using talmo::testing::WindowFixture;
using talmo::testing::writeFile;

namespace {

const std::string kDefs = "void() main =\r\n{\r\n};\r\n"
                          "// void() main = one\r\n// void() main = two\r\n"
                          "// void() main = three\r\n// void() main = four\r\n";

std::vector<std::pair<QString, std::string>> mod() {
    return {{QStringLiteral("defs.qc"), kDefs},
            {QStringLiteral("world.qc"), "float w;\r\n"},
            {QStringLiteral("log"), "compiled\r\n"},
            {QStringLiteral("notes.txt"), "a note\r\n"}};
}

QStringList names(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Clicks the entry `name` through the window, as the platform delivers it,
// so that the press gives the list the focus and a right click its context
// menu.
void clickEntry(TForm1& w, QListWidget* list, const QString& name, Qt::MouseButton button) {
    QListWidgetItem* item = list->findItems(name, Qt::MatchExactly).value(0);
    if (!item)
        qFatal("no entry %s", qPrintable(name));
    QTest::mouseClick(w.windowHandle(), button, {},
                      list->viewport()->mapTo(&w, list->visualItemRect(item).center()));
}

} // namespace

class WindowListsTest : public QObject {
    Q_OBJECT
private slots:
    void masksListFiles_data();
    void masksListFiles();
    void rightClickPicksTheEntryForTheMenuOnly_data();
    void rightClickPicksTheEntryForTheMenuOnly();
    void allListLoadsOncePerClickAndOnKeys();
    void deletingInComNeitherCompletesNorSearches_data();
    void deletingInComNeitherCompletesNorSearches();
};

void WindowListsTest::masksListFiles_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("expected");
    const QStringList every = {QStringLiteral("commanderlog"), QStringLiteral("defs.QC"),
                               QStringLiteral("log"), QStringLiteral("módulo")};
    QTest::newRow("*.* lists names without a dot, not dot-files") << QStringLiteral("*.*") << every;
    QTest::newRow("*.* among other patterns still lists every file")
        << QStringLiteral("*.qc;*.*") << every;
}

void WindowListsTest::masksListFiles() {
    QFETCH(QString, mask);
    QFETCH(QStringList, expected);
    QTemporaryDir scratch;
    for (const char* name : {"log", "commanderlog", "defs.QC", "módulo", ".hidden", "sub/x.qc"})
        writeFile(QDir(scratch.path()).filePath(QString::fromUtf8(name)), "x");
    const QString before = QDir::currentPath();
    talmo::FileListBox list(scratch.path(), mask);
    QDir::setCurrent(before);
    QCOMPARE(names(&list), expected);
}

void WindowListsTest::rightClickPicksTheEntryForTheMenuOnly_data() {
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("menuName");
    QTest::addColumn<int>("tab");
    QTest::newRow("QC list") << QStringLiteral("qclista") << QStringLiteral("PopupMenu1") << 0;
    QTest::newRow("All list") << QStringLiteral("listado") << QStringLiteral("PopupMenu2") << 1;
}

void WindowListsTest::rightClickPicksTheEntryForTheMenuOnly() {
    QFETCH(QString, listName);
    QFETCH(QString, menuName);
    QFETCH(int, tab);
    WindowFixture f(mod());
    TForm1& w = f.window();
    control<QTabWidget>(w, "TabbedNotebook1")->setCurrentIndex(tab);
    auto* list = w.findChild<talmo::FileListBox*>(listName);
    auto* menu = w.findChild<QMenu*>(menuName);
    QVERIFY(list && menu);
    control<QLineEdit>(w, "pathsrc")->setText(QStringLiteral("untouched"));
    const int page = control<QTabWidget>(w, "Manager")->currentIndex();
    const QString seeCaption = control<QTabWidget>(w, "Manager")->tabText(2);

    clickEntry(w, list, QStringLiteral("world.qc"), Qt::RightButton);
    QCOMPARE(list->selectedName(), QStringLiteral("world.qc"));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
    QCOMPARE(control<QTabWidget>(w, "Manager")->currentIndex(), page);
    QCOMPARE(control<QTabWidget>(w, "Manager")->tabText(2), seeCaption);
    QCOMPARE(control<QLineEdit>(w, "pathsrc")->text(), QStringLiteral("untouched"));
    QVERIFY(control<QPlainTextEdit>(w, "test")->toPlainText().isEmpty());

    if (listName == QLatin1String("qclista")) {
        // The menu acts on the entry picked.
        control<QAction>(w, "delete1")->trigger();
        QVERIFY(QFile::exists(f.path(QStringLiteral("world.qc.bak"))));
    }
}

void WindowListsTest::allListLoadsOncePerClickAndOnKeys() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    control<QTabWidget>(w, "TabbedNotebook1")->setCurrentIndex(1);
    QVERIFY(QFile::remove(f.path(QStringLiteral("defs.qc"))));
    clickEntry(w, control<talmo::FileListBox>(w, "listado"), QStringLiteral("defs.qc"),
               Qt::LeftButton);
    QCOMPARE(f.logLines().count(QStringLiteral("Load fail!!: ")), 1);

    // Moving the selection with the keyboard loads the entry it reaches.
    control<talmo::FileListBox>(w, "listado")->setFocus();
    QTest::keyClick(control<talmo::FileListBox>(w, "listado"), Qt::Key_Down);
    QCOMPARE(control<talmo::FileListBox>(w, "listado")->selectedName(), QStringLiteral("log"));
    QCOMPARE(control<QPlainTextEdit>(w, "test")->toPlainText(), QStringLiteral("compiled\n"));
}

void WindowListsTest::deletingInComNeitherCompletesNorSearches_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Backspace") << int(Qt::Key_Backspace);
    QTest::newRow("Delete") << int(Qt::Key_Delete);
}

void WindowListsTest::deletingInComNeitherCompletesNorSearches() {
    QFETCH(int, key);
    WindowFixture f(mod());
    TForm1& w = f.window();
    QVERIFY(
        f.doubleClickItem(control<talmo::FileListBox>(w, "qclista"), QStringLiteral("defs.qc")));
    editor(w)->setSelectionStart(0);
    QTest::keyClick(control<talmo::FunctionCombo>(w, "com"), Qt::Key_V);
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(),
             QStringLiteral("void() main ="));
    const long start = editor(w)->selectionStart();
    const long length = editor(w)->selectionLength();

    QTest::keyClick(control<talmo::FunctionCombo>(w, "com"), static_cast<Qt::Key>(key));
    QCOMPARE(control<talmo::FunctionCombo>(w, "com")->currentText(), QStringLiteral("v"));
    QCOMPARE(editor(w)->selectionStart(), start);
    QCOMPARE(editor(w)->selectionLength(), length);
}

QTEST_MAIN(WindowListsTest)
#include "window_lists_test.moc"
