// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include "EditController.h"
#include "FileListBox.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "TextBytes.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTest>

namespace talmo::testing {

QString currentFile(const QObject& window) {
    return part<talmo::EditController>(window)->currentFile();
}

bool openFile(const QObject& window, const QString& path) {
    return part<talmo::EditController>(window)->open(talmo::localPath(path));
}

talmo::QsciEditor* editor(const QObject& window, const char* name) {
    return editorView(window, name)->editor();
}

talmo::QsciView* editorView(const QObject& window, const char* name) {
    return control<talmo::QsciView>(window, name);
}

void writeFile(const QString& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write fixture %s", qPrintable(path));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    const QByteArray all = f.readAll();
    return std::string(all.constData(), static_cast<std::size_t>(all.size()));
}

QStringList readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    lines.removeAll(QString());
    return lines;
}

WindowFixture::WindowFixture(const std::vector<std::pair<QString, std::string>>& files)
    : m_previousDir(QDir::currentPath()) {
    for (const auto& [name, bytes] : files)
        writeFile(path(name), bytes);
    // Journals and recovery copies go to a test folder, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QDir::setCurrent(m_dir.path());
    m_window = std::make_unique<TForm1>();
    m_window->setErrorReporter([this](const QString& message) { errors << message; });
    m_window->show();
    QTest::qWait(1);
}

WindowFixture::~WindowFixture() {
    if (m_window) {
        testing::control<QCheckBox>(*m_window, "auto")->setChecked(false);
        m_window.reset();
    }
    QDir::setCurrent(m_previousDir);
}

QStringList WindowFixture::logLines() const {
    const QString text = testing::control<QPlainTextEdit>(*m_window, "log")->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

static QListWidgetItem* itemOf(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return found.isEmpty() ? nullptr : found.first();
}

bool WindowFixture::clickItem(QListWidget* list, const QString& text) {
    QListWidgetItem* item = itemOf(list, text);
    if (!item)
        return false;
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    return true;
}

bool WindowFixture::doubleClickItem(QListWidget* list, const QString& text) {
    QListWidgetItem* item = itemOf(list, text);
    if (!item)
        return false;
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    // A real double click: press, release, a second press that Qt reports
    // as a double click, release.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    return true;
}

QStringList WindowFixture::rowsOf(const QAbstractItemView* view) {
    QStringList rows;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString();
    return rows;
}

bool WindowFixture::doubleClickRow(QAbstractItemView* view, const QString& text) {
    const int row = static_cast<int>(rowsOf(view).indexOf(text));
    if (row < 0)
        return false;
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    return true;
}

bool WindowFixture::openSource(const QString& name) {
    auto* sources = control<talmo::FileListBox>("qclista");
    return doubleClickItem(sources, name) && currentFile(*m_window) == sources->selectedPath();
}

void WindowFixture::enterDirectory(const QString& path) {
    auto* pathsrc = control<QLineEdit>("pathsrc");
    pathsrc->clear();
    type(pathsrc, path, true);
}

void WindowFixture::type(QWidget* widget, const QString& text, bool enter) {
    widget->setFocus();
    // keyClicks asserts on characters beyond Latin-1: send those as a
    // keyboard layout would, as text of an unknown key.
    for (QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::KeyAction::Click, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }
    if (enter)
        QTest::keyClick(widget, Qt::Key_Return);
}

void WindowFixture::closeWindow() {
    m_window->close();
    m_window.reset();
}

} // namespace talmo::testing
