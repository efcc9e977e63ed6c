// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditPage.h"

#include "TextBytes.h"

#include "Batch.h"
#include "EditorMenu.h"
#include "EventHook.h"
#include "FindNext.h"
#include "FunctionCombo.h"
#include "FunctionIndex.h"
#include "GoToLine.h"
#include "Highlight.h"
#include "MessageList.h"
#include "NameAt.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "RecoverBar.h"
#include "ShellRun.h"
#include "Text.h"

#include <QAction>
#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <string>

namespace talmo {

EditPage::EditPage(PageServices services, std::function<QString()> editedName, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)), m_editedName(std::move(editedName)) {
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    findedit = lineEdit("findedit");
    findedit->setToolTip(QStringLiteral("Text to find from top."));
    findedit->setPlaceholderText(QStringLiteral("find"));
    com = named(new FunctionCombo, "com");
    com->setFont(courierFont());
    com->setStyleSheet(QStringLiteral("QComboBox#com { background: silver; color: black; }"));
    top->addWidget(findedit, 1);
    top->addWidget(com, 3);
    layout->addLayout(top);

    recoverbar = new RecoverBar;
    layout->addWidget(recoverbar);

    m_view = named(new QsciView, "talmo");
    m_view->setEditorFont(fixedFont(9));
    m_editor = m_view->editor();
    // The compiler's messages under the editor, hidden while there are none.
    auto* split = new QSplitter(Qt::Vertical);
    m_messages = new MessageList;
    split->addWidget(m_view);
    split->addWidget(m_messages);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    layout->addWidget(split, 1);

    auto* bar = new QHBoxLayout;
    editbar = named(new QLabel, "editbar");
    editbar->setFrameShape(QFrame::Panel);
    editbar->setFrameShadow(QFrame::Sunken);
    editbar->setMinimumWidth(70);
    num = lineEdit("num");
    num->setPlaceholderText(QStringLiteral("line"));
    num->setMaximumWidth(60);
    syntaxcolor = button("syntaxcolor", QStringLiteral("Syntax"));
    refresh = button("refresh", QStringLiteral("Refresh"));
    Button7 = button("Button7", QStringLiteral("Go!"));
    uptext = lineEdit("uptext");
    commander = lineEdit("commander");
    bar->addWidget(editbar);
    bar->addWidget(num);
    bar->addWidget(syntaxcolor);
    bar->addWidget(refresh);
    bar->addWidget(Button7);
    bar->addWidget(label(QStringLiteral("HEAD"), uptext));
    bar->addWidget(uptext, 1);
    bar->addWidget(label(QStringLiteral("CMD"), commander));
    bar->addWidget(commander, 1);
    layout->addLayout(bar);

    EditorEvents events;
    events.keyDown = [this](int key) { codexKeyDown(key); };
    events.keyPress = [this](char ch) { codexKeyPress(ch); };
    events.mouseDown = [this] { codexMouseDown(); };
    events.mouseUp = [this] { codexMouseUp(); };
    // Text the editor refused is logged as any other refused text is.
    events.refused = [this](const std::string& ch) {
        m_services.fileText(QString::fromStdString(ch));
    };
    m_editor->setEvents(std::move(events));

    // The context menu, its shortcuts acting in the editor.
    auto* menu = new EditorMenu(this);
    menu->attach(m_view);
    connect(menu, &EditorMenu::cutChosen, this, &EditPage::cut1Click);
    connect(menu, &EditorMenu::copyChosen, this, &EditPage::copy1Click);
    connect(menu, &EditorMenu::pasteChosen, this, &EditPage::Paste1Click);
    connect(menu, &EditorMenu::nextChosen, this, &EditPage::next1Click);
    connect(menu, &EditorMenu::helpChosen, this, &EditPage::help1Click);

    // F4 and Shift+F4 lead to the next and the previous listed message.
    connect(widgetShortcut(m_view, "nextmessage", QStringLiteral("Next message"),
                           QKeySequence(Qt::Key_F4)),
            &QAction::triggered, m_messages, &MessageList::activateNext);
    connect(widgetShortcut(m_view, "previousmessage", QStringLiteral("Previous message"),
                           QKeySequence(Qt::SHIFT | Qt::Key_F4)),
            &QAction::triggered, m_messages, &MessageList::activatePrevious);

    onKeyPress(uptext, [this](char key) { uptextKeyPress(key); });
    onKeyPress(num, [this](char key) { numKeyPress(key); });
    onKeyPress(commander, [this](char key) { commanderKeyPress(key); });
    connect(refresh, &QPushButton::clicked, this, &EditPage::refreshClicked);
    connect(Button7, &QPushButton::clicked, this, &EditPage::goClicked);
    connect(syntaxcolor, &QPushButton::clicked, this, [this] { syntaxcolorClick(); });

    // Entering `com` from another control rebuilds the index; the close of its
    // own list or the window's activation does not.
    EventHook::install(com, QEvent::FocusIn, [this](QEvent* event) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            codeChange();
    });
    connect(com, &FunctionCombo::editedByUser, this, [this] { comClick(); });
    // A pick is reported both as a change and as a click.
    connect(com, &FunctionCombo::picked, this, [this] {
        comClick();
        comClick();
    });
    connect(com, &FunctionCombo::closedUp, this, [this] { comCloseUp(); });
    onKeyPress(com, [this](char key) { comKeyPress(key); });
    onKeyPress(findedit, [this](char key) { findeditKeyPress(key); });
}

void EditPage::findText(const QString& text) {
    com->setEditText(text);
    comClick();
}

void EditPage::codexKeyPress(char) {
    markEdited();
}

void EditPage::markEdited() {
    emit captionChanged(QStringLiteral("[ &Edit ") + m_editedName() + QStringLiteral("]"));
}

void EditPage::codexKeyDown(int key) {
    // Ctrl, Alt and Meta begin a shortcut; the key they chord with decides.
    if (key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta || key == Qt::Key_AltGr)
        return;
    m_editor->setSelectionColour(kBlue);
    codexMouseUp();
}

void EditPage::codexMouseDown() {
    codexMouseUp();
}

void EditPage::codexMouseUp() {
    editbar->setText(
        QStringLiteral("[%1/%2]").arg(m_editor->caretLine() + 1).arg(m_editor->lineCount() + 1));
}

void EditPage::uptextKeyPress(char key) {
    if (key != '\r' || uptext->text().isEmpty())
        return;
    const auto line = m_services.fileText(uptext->text());
    if (!line)
        return;
    m_editor->insertLineAtStart(*line);
    uptext->clear();
}

void EditPage::numKeyPress(char key) {
    if (key != '\r' || num->text().isEmpty())
        return;
    const std::optional<long long> n = parseLineNumber(num->text().trimmed().toStdString());
    if (!n) {
        m_services.reportError(
            QStringLiteral("'%1' is not a valid integer value").arg(num->text()));
        return;
    }
    m_editor->setFocus();
    m_editor->setSelectionStart(offsetAfterLines(*m_editor, *n));
    m_editor->setSelectionLength(1);
    num->clear();
}

void EditPage::cut1Click() {
    m_editor->cut();
}
void EditPage::copy1Click() {
    m_editor->copy();
}
void EditPage::Paste1Click() {
    m_editor->paste();
}
void EditPage::help1Click() {
    // On a documented word, the page that documents it, at its entry.
    std::string word = m_editor->textRange(m_editor->selectionStart(), m_editor->selectionLength());
    if (word.empty()) {
        const std::optional<NameAt> name = nameAt(*m_editor, m_editor->selectionStart());
        if (name)
            word = name->name;
    }
    if (word.size() > 64)
        word.clear();
    emit helpWanted(word);
}

void EditPage::commanderKeyPress(char key) {
    if (key != '\r' || commander->text().isEmpty())
        return;
    // A batch file in the working directory runs the command there, its
    // output going to "commanderlog". A batch file that cannot be written
    // leaves everything as it was, a link planted as the log included.
    const QString command = commander->text();
    m_services.runReportingErrors([this, &command] {
        const std::filesystem::path batch =
            m_services.pathInDirectory(QString::fromLatin1(kCommandBatch));
        writeBatchFile(batch, commandBatchLines(commandText(command)));
        dropLinkedOutput(m_services.pathInDirectory(QStringLiteral("commanderlog")));
        runBatchFile(batch.filename(), false, ownerOf(this));
    });
}

void EditPage::syntaxcolorClick() {
    highlightEditor(*m_editor);
}

void EditPage::BuildFunctionIndex() {
    com->clear();
    QStringList entries;
    for (const std::string& entry : buildFunctionIndexFromText(m_editor->text()))
        entries << textOfBytes(entry);
    com->addItems(entries);
    com->setCurrentIndex(-1);
    com->setEditText(QString());
}

void EditPage::codeChange() {
    BuildFunctionIndex();
}

void EditPage::comClick() {
    if (const auto what = m_services.fileText(com->currentText()))
        findNextInEditor(*m_editor, *what);
}

void EditPage::comCloseUp() {
    m_editor->setSelectionStart(0);
    comClick();
}

void EditPage::comKeyPress(char key) {
    if (key == '\r' && !com->currentText().isEmpty())
        comClick();
}

void EditPage::findeditKeyPress(char key) {
    if (key != '\r' || findedit->text().isEmpty())
        return;
    com->setEditText(findedit->text());
    LastSearch = findedit->text();
    comClick();
}

void EditPage::next1Click() {
    com->setEditText(LastSearch);
    comClick();
}

} // namespace talmo
