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
    w.TabbedNotebook1->setCurrentIndex(tab);
    auto* list = w.findChild<talmo::FileListBox*>(listName);
    auto* menu = w.findChild<QMenu*>(menuName);
    QVERIFY(list && menu);
    w.pathsrc->setText(QStringLiteral("untouched"));
    const int page = w.Manager->currentIndex();
    const QString seeCaption = w.Manager->tabText(2);

    clickEntry(w, list, QStringLiteral("world.qc"), Qt::RightButton);
    QCOMPARE(list->selectedName(), QStringLiteral("world.qc"));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
    QCOMPARE(w.Manager->currentIndex(), page);
    QCOMPARE(w.Manager->tabText(2), seeCaption);
    QCOMPARE(w.pathsrc->text(), QStringLiteral("untouched"));
    QVERIFY(w.test->toPlainText().isEmpty());

    if (listName == QLatin1String("qclista")) {
        // The menu acts on the entry picked.
        w.delete1->trigger();
        QVERIFY(QFile::exists(f.path(QStringLiteral("world.qc.bak"))));
    }
}

void WindowListsTest::allListLoadsOncePerClickAndOnKeys() {
    WindowFixture f(mod());
    TForm1& w = f.window();
    w.TabbedNotebook1->setCurrentIndex(1);
    QVERIFY(QFile::remove(f.path(QStringLiteral("defs.qc"))));
    clickEntry(w, w.listado, QStringLiteral("defs.qc"), Qt::LeftButton);
    QCOMPARE(f.logLines().count(QStringLiteral("Load fail!!: ")), 1);

    // Moving the selection with the keyboard loads the entry it reaches.
    w.listado->setFocus();
    QTest::keyClick(w.listado, Qt::Key_Down);
    QCOMPARE(w.listado->selectedName(), QStringLiteral("log"));
    QCOMPARE(w.test->toPlainText(), QStringLiteral("compiled\n"));
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
    QVERIFY(f.doubleClickItem(w.qclista, QStringLiteral("defs.qc")));
    w.talmo->setSelectionStart(0);
    QTest::keyClick(w.com, Qt::Key_V);
    QCOMPARE(w.com->currentText(), QStringLiteral("void() main ="));
    const long start = w.talmo->selectionStart();
    const long length = w.talmo->selectionLength();

    QTest::keyClick(w.com, static_cast<Qt::Key>(key));
    QCOMPARE(w.com->currentText(), QStringLiteral("v"));
    QCOMPARE(w.talmo->selectionStart(), start);
    QCOMPARE(w.talmo->selectionLength(), length);
}

QTEST_MAIN(WindowListsTest)
#include "window_lists_test.moc"
