// SPDX-License-Identifier: GPL-3.0-or-later
// The view's keys, mouse, input methods, clipboard and drops.
// Every way text comes in goes through the text boundary: characters become
// their bytes, and text holding a character with no byte is refused whole
// and reported.
#include "QsciProgramEdit.h"
#include "QsciView.h"

#include "Text.h"
#include "TextCodec.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

#include <cctype>

namespace talmo {

namespace {

// The clipboard format that carries copied text as its raw bytes, NUL
// included, beside the plain text.
QString bytesFormat() {
    return QStringLiteral("application/x-talmo-bytes");
}

// Whether `copy` is `original` with every NUL turned into a blank, as
// Scintilla copies text.
bool isBlankedCopy(std::string_view original, const QByteArray& copy) {
    if (static_cast<qsizetype>(original.size()) != copy.size())
        return false;
    for (std::size_t i = 0; i < original.size(); ++i)
        if (copy[static_cast<qsizetype>(i)] != (original[i] == '\0' ? ' ' : original[i]))
            return false;
    return true;
}

// The byte a typed character stands for; none for DEL and C1 controls, which
// no key types.
std::optional<unsigned char> typedByte(QChar c) {
    const char16_t u = c.unicode();
    if (u == 0x7F || (u >= 0x80 && u < 0xA0))
        return std::nullopt;
    return byteOfChar(c);
}

// The character a key event types, as Windows reports it: Ctrl with a
// letter is the matching control character (Ctrl+A is 1).
std::optional<unsigned char> typedByte(QChar c, Qt::KeyboardModifiers mods) {
    const bool ctrlOnly = (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier);
    const char16_t u = c.unicode();
    if (ctrlOnly && u < 0x80 && std::isalpha(static_cast<unsigned char>(u)))
        return static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(u)) - '@');
    return typedByte(c);
}

// The key event a user produces by typing byte `b`.
QKeyEvent keyEventFor(unsigned char b) {
    switch (b) {
    case '\r':
    case '\n':
        return QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    case '\t':
        return QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    case '\b':
        return QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    case 0x1B:
        return QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1B)));
    default:
        break;
    }
    const QChar ch = charOfByte(b);
    const int code = b < 0x20 ? int{Qt::Key_unknown} : int{ch.toUpper().unicode()};
    return QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier, QString(ch));
}

} // namespace

void QsciView::typeText(std::string_view text) {
    if (isReadOnly())
        return;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        // CR LF is one Enter.
        if (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        QKeyEvent event = keyEventFor(b);
        keyPressEvent(&event);
    }
}

void QsciView::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    // A character the 8-bit text cannot hold is not typed at all: Scintilla
    // would store '?' in its place.
    QString refused;
    const std::optional<std::string> bytes = bytesOfText(typed, &refused);
    if (!bytes) {
        refuse(refused);
        event->accept();
        return;
    }
    if (events().keyDown)
        events().keyDown(event->key());
    if (events().keyPress)
        for (QChar c : typed)
            if (const auto b = typedByte(c, event->modifiers()))
                events().keyPress(static_cast<char>(*b));

    const long caretBefore = SendScintilla(SCI_GETCURRENTPOS);
    const long anchorBefore = SendScintilla(SCI_GETANCHOR);
    const unsigned insertionsBefore = m_insertions;
    if (selectionLength() > 0)
        m_replacedStyle = styleAt(selectionStart());

    // Scintilla types only text that opens with a printable character.
    if (!typed.isEmpty() && typed[0].isPrint())
        typeKeyText(event, *bytes);
    else if (event->matches(QKeySequence::Paste) && pasteWithNul(false))
        event->accept();
    else
        QsciScintilla::keyPressEvent(event);
    m_replacedStyle.reset();

    // A key that only moved the caret drops the pending typing format.
    if (m_insertions == insertionsBefore && (SendScintilla(SCI_GETCURRENTPOS) != caretBefore ||
                                             SendScintilla(SCI_GETANCHOR) != anchorBefore))
        m_pending.reset();
}

void QsciView::typeKeyText(QKeyEvent* event, const std::string& bytes) {
    // Scintilla turns key text into Latin-1, '?' for every other character.
    // Handed the bytes as Latin-1 characters, it stores the very bytes and
    // types them as it types any key (overtype included).
    const QString asLatin1 =
        QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const auto count = static_cast<quint16>(event->count());
    if (asLatin1[0].isPrint()) {
        QKeyEvent asBytes(event->type(), event->key(), event->modifiers(), asLatin1,
                          event->isAutoRepeat(), count);
        QsciScintilla::keyPressEvent(&asBytes);
        event->setAccepted(asBytes.isAccepted());
        return;
    }
    // Text opening with one of the other Windows-1252 characters (0x80-0x9F)
    // would read as a control: Scintilla runs the key's command, if it has
    // one, and the bytes are typed here otherwise (AltGr arrives as Ctrl+Alt).
    QKeyEvent command(event->type(), event->key(), event->modifiers(), QString(),
                      event->isAutoRepeat(), count);
    QsciScintilla::keyPressEvent(&command);
    if (!command.isAccepted())
        insertOverSelection(bytes);
    event->accept();
}

void QsciView::inputMethodEvent(QInputMethodEvent* event) {
    if (isReadOnly()) {
        QsciScintilla::inputMethodEvent(event);
        return;
    }
    const QString commit = event->commitString();
    if (commit.isEmpty()) {
        // A composition that starts over a selection takes the selection
        // down at once: it is kept, to go back if the commit is refused.
        if (!m_composing && !event->preeditString().isEmpty() && selectionLength() > 0) {
            const long start = selectionStart();
            const long end = start + selectionLength();
            m_composedOver =
                Replaced{start,
                         std::string(bytes().substr(static_cast<std::size_t>(start),
                                                    static_cast<std::size_t>(end - start))),
                         readStyles(start, end)};
        }
        showComposition(*event);
        if (!m_composing)
            m_composedOver.reset();
        event->accept();
        return;
    }
    // Scintilla would store the committed text as Latin-1, '?' for every
    // other character: it only takes down the composition shown so far, and
    // the text is typed here, as a key that types it would be.
    QInputMethodEvent endComposition;
    QsciScintilla::inputMethodEvent(&endComposition);
    m_composing = false;
    QString refused;
    if (const std::optional<std::string> bytes = bytesOfText(commit, &refused)) {
        if (events().keyDown)
            events().keyDown(Qt::Key_unknown);
        if (events().keyPress)
            for (QChar c : commit)
                if (const auto b = typedByte(c))
                    events().keyPress(static_cast<char>(*b));
        insertOverSelection(*bytes);
    } else {
        refuse(refused);
        putBackComposedOver();
    }
    m_composedOver.reset();
    // A composition that goes on after the commit.
    if (!event->preeditString().isEmpty())
        showComposition(*event);
    event->accept();
}

void QsciView::showComposition(const QInputMethodEvent& event) {
    // Scintilla shows the composition in the text meanwhile, as Latin-1 with
    // '?' for every other character: it is handed the bytes where the text
    // has them.
    const QString preedit = event.preeditString();
    const std::optional<std::string> bytes = bytesOfText(preedit);
    QInputMethodEvent shown(
        bytes ? QString::fromLatin1(bytes->data(), static_cast<qsizetype>(bytes->size())) : preedit,
        event.attributes());
    QsciScintilla::inputMethodEvent(&shown);
    m_composing = !preedit.isEmpty();
}

void QsciView::putBackComposedOver() {
    if (!m_composedOver || m_composedOver->start > bufferLength())
        return;
    const Replaced& r = *m_composedOver;
    ProgramEdit edit(*this);
    replaceRange(r.start, 0, r.bytes);
    writeStyles(r.start, r.styles);
    setSelectionQuietly(r.start, r.start + static_cast<long>(r.bytes.size()));
}

void QsciView::insertOverSelection(const std::string& bytes) {
    if (isReadOnly() || bytes.empty())
        return;
    const long start = selectionStart();
    const long len = selectionLength();
    if (len > 0)
        m_replacedStyle = styleAt(start);
    SendScintilla(SCI_BEGINUNDOACTION);
    replaceRange(start, len, bytes);
    SendScintilla(SCI_ENDUNDOACTION);
    m_replacedStyle.reset();
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(start + static_cast<long>(bytes.size())));
}

void QsciView::refuse(const QString& character) const {
    if (events().refused)
        events().refused(character.toStdString());
}

bool QsciView::isActionShortcut(const QKeyEvent* event) const {
    const QKeySequence pressed(
        QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    for (const QWidget* w = this; w; w = w->parentWidget()) {
        const QList<QAction*> actions = w->actions();
        for (const QAction* a : actions) {
            if (!a->isEnabled() || (w != this && a->shortcutContext() == Qt::WidgetShortcut))
                continue;
            const QList<QKeySequence> shortcuts = a->shortcuts();
            for (const QKeySequence& s : shortcuts)
                if (s.matches(pressed) == QKeySequence::ExactMatch)
                    return true;
        }
        if (w->isWindow())
            break;
    }
    return false;
}

bool QsciView::event(QEvent* event) {
    // Scintilla claims every key it has a command for (Ctrl+C, Ctrl+V...);
    // the shortcuts of our own actions must win over them.
    if (event->type() == QEvent::ShortcutOverride &&
        isActionShortcut(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QsciScintilla::event(event);
}

void QsciView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection() &&
        textWithNul(QApplication::clipboard()->mimeData(QClipboard::Selection))) {
        QWidget::setFocus();
        const long pos = SendScintilla(SCI_POSITIONFROMPOINT, static_cast<unsigned long>(at.x()),
                                       static_cast<long>(at.y()));
        SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(pos));
        pasteWithNul(true);
    } else {
        QsciScintilla::mousePressEvent(event);
    }
    m_pending.reset();
    if (events().mouseDown)
        events().mouseDown();
}

void QsciView::mouseReleaseEvent(QMouseEvent* event) {
    QsciScintilla::mouseReleaseEvent(event);
    if (events().mouseUp)
        events().mouseUp();
}

std::optional<std::string> QsciView::textWithNul(const QMimeData* source) const {
    if (!source || !source->hasFormat(bytesFormat()))
        return std::nullopt;
    const QByteArray bytes = source->data(bytesFormat());
    bool rectangular = false;
    QsciScintilla::fromMimeData(source, rectangular);
    if (rectangular || !bytes.contains('\0'))
        return std::nullopt;
    return normalizeLineBreaks(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool QsciView::pasteWithNul(bool fromSelection) {
    const std::optional<std::string> text = textWithNul(QApplication::clipboard()->mimeData(
        fromSelection ? QClipboard::Selection : QClipboard::Clipboard));
    if (!text)
        return false;
    insertOverSelection(*text);
    return true;
}

void QsciView::dropEvent(QDropEvent* event) {
    // A refused drop is not taken, so that a source that moves its text
    // keeps it.
    const QMimeData* source = event->mimeData();
    QString refused;
    if (!source->hasFormat(bytesFormat()) && source->hasText() &&
        !bytesOfText(source->text(), &refused)) {
        refuse(refused);
        event->ignore();
        QDragLeaveEvent leave;
        QsciScintilla::dragLeaveEvent(&leave); // takes the drop caret away
        return;
    }
    const std::optional<std::string> text = textWithNul(source);
    if (!text || isReadOnly()) {
        QsciScintilla::dropEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    long pos = SendScintilla(SCI_POSITIONFROMPOINT, static_cast<unsigned long>(at.x()),
                             static_cast<long>(at.y()));
    // Text dragged within the editor moves, unless Ctrl copies it.
    const bool ownText = event->source() == this || event->source() == viewport();
    const bool moving = ownText && !(event->modifiers() & Qt::ControlModifier);
    const long selStart = selectionStart();
    const long selEnd = selStart + selectionLength();
    if (moving) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
        if (pos >= selStart && pos <= selEnd)
            return; // dropped onto itself
    } else {
        event->acceptProposedAction();
    }
    SendScintilla(SCI_BEGINUNDOACTION);
    if (moving) {
        replaceRange(selStart, selEnd - selStart, {});
        if (pos > selEnd)
            pos -= selEnd - selStart;
    }
    replaceRange(pos, 0, *text);
    SendScintilla(SCI_ENDUNDOACTION);
    setSelectionQuietly(pos, pos + static_cast<long>(text->size()));
}

QByteArray QsciView::fromMimeData(const QMimeData* source, bool& rectangular) const {
    QByteArray bytes = QsciScintilla::fromMimeData(source, rectangular);
    // Text copied here comes back byte for byte, NUL included.
    if (source->hasFormat(bytesFormat()))
        return source->data(bytesFormat());
    if (!source->hasText())
        return bytes;
    // Text with a character the 8-bit text cannot hold is not pasted: no
    // '?' ever stands in for it.
    QString refused;
    const std::optional<std::string> mapped = bytesOfText(source->text(), &refused);
    if (!mapped) {
        refuse(refused);
        // A paste clears the selection before it inserts: with nothing
        // selected, nothing is lost.
        SendScintilla(SCI_SETEMPTYSELECTION,
                      static_cast<unsigned long>(SendScintilla(SCI_GETCURRENTPOS)));
        return QByteArray();
    }
    return QByteArray::fromStdString(*mapped);
}

QMimeData* QsciView::toMimeData(const QByteArray& text, bool rectangular) const {
    // Scintilla copies a NUL as a blank: what it copied (the selection, or
    // the lines it spans for the line commands) is read from the buffer as
    // it stands.
    QByteArray bytesCopied = text;
    if (!rectangular && SendScintilla(SCI_GETSELECTIONS) == 1) {
        const long start = selectionStart();
        const long end = start + selectionLength();
        const auto lineOf = [this](long pos) {
            return SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
        };
        const long linesStart =
            SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(lineOf(start)));
        long linesEnd =
            SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(lineOf(end) + 1));
        if (linesEnd < 0)
            linesEnd = bufferLength();
        for (const auto& [from, to] : {std::pair{start, end}, std::pair{linesStart, linesEnd}}) {
            const std::string_view copied =
                bytes().substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
            if (isBlankedCopy(copied, text)) {
                bytesCopied = QByteArray(copied.data(), static_cast<qsizetype>(copied.size()));
                break;
            }
        }
    }
    QMimeData* mime = QsciScintilla::toMimeData(bytesCopied, rectangular);
    mime->setText(textOfBytes(
        std::string_view(bytesCopied.constData(), static_cast<std::size_t>(bytesCopied.size()))));
    mime->setData(bytesFormat(), bytesCopied);
    return mime;
}

void QsciView::paste() {
    if (pasteWithNul(false))
        return;
    if (selectionLength() > 0)
        m_replacedStyle = styleAt(selectionStart());
    QsciScintilla::paste();
    m_replacedStyle.reset();
}

} // namespace talmo
