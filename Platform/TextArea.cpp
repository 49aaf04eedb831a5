#include "Platform/TextArea.h"

#include "Platform/TextEditing.h"

#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include <algorithm>
#include <iterator>

TextArea::TextArea(QWidget* parent) : QPlainTextEdit(parent) {
    // As in the program's other boxes, Tab moves on to the next control.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (onChange) onChange();
    });
}

QString TextArea::Text() const { return CrLf::text(document()); }
void TextArea::setTextValue(const QString& t) { setPlainText(CrLf::toLf(t)); }
int TextArea::SelStart() const { return CrLf::selStart(textCursor()); }
int TextArea::SelLength() const { return CrLf::selLength(textCursor()); }
QString TextArea::SelText() const { return CrLf::selText(textCursor()); }
void TextArea::setSelText(const QString& t) { insertPlainText(CrLf::toLf(t)); }

void TextArea::setSelStart(int pos) {
    QTextCursor c = textCursor();
    CrLf::setSelStart(c, pos);
    setTextCursor(c);
}

void TextArea::setSelLength(int n) {
    QTextCursor c = textCursor();
    CrLf::setSelLength(c, n);
    setTextCursor(c);
}

void TextArea::typeText(const QString& text) { enter(text, true); }

void TextArea::enter(const QString& text, bool typed) {
    if (onTextRun) onTextRun(true);
    EditKeys::type(this, onKeyPress, text, &keyText_, typed);
    if (onTextRun) onTextRun(false);
}

void TextArea::setEditsByHandlerOnly(bool on) {
    handlerOnly_ = on;
    // Undo would change the text past the handler. Turned off, the history
    // is dropped: nothing from before can be undone later either.
    setUndoRedoEnabled(!on);
}

namespace {
// Keys with which the editor itself takes text out of the box.
bool removesText(const QKeyEvent* e) {
    static const QKeySequence::StandardKey removing[] = {
        QKeySequence::Delete,          QKeySequence::Cut,
        QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine,
        QKeySequence::Undo,            QKeySequence::Redo};
    if (e->key() == Qt::Key_Delete) return true;
    return std::any_of(std::begin(removing), std::end(removing), [e](auto k) { return e->matches(k); });
}
} // namespace

void TextArea::keyPressEvent(QKeyEvent* e) {
    if (Keys::handlerDrops(onKeyDown, e) || EditKeys::keyPress(this, e, onKeyPress, &keyText_)) return;
    if (handlerOnly_ && removesText(e)) return;
    QPlainTextEdit::keyPressEvent(e);
}

void TextArea::keyReleaseEvent(QKeyEvent* e) {
    if (!Keys::handlerDrops(onKeyUp, e)) QPlainTextEdit::keyReleaseEvent(e);
}

// Composed characters (dead keys, input methods) pass the handler one by one.
void TextArea::inputMethodEvent(QInputMethodEvent* e) {
    if (!onKeyPress || e->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(e);
        return;
    }
    // The editor takes out what the commit replaces (text committed before).
    QInputMethodEvent rest(e->preeditString(), e->attributes());
    rest.setCommitString(QString(), e->replacementStart(), e->replacementLength());
    QPlainTextEdit::inputMethodEvent(&rest);
    enter(e->commitString(), false);
}

// Every paste (keyboard, menu, middle button, drop) arrives here. Data
// without text (an empty clipboard) pastes nothing: the editor's own
// handling cannot take it.
void TextArea::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) return;
    if (!onKeyPress) QPlainTextEdit::insertFromMimeData(source);
    else enter(EditKeys::pasted(source->text()), false);
}

void TextArea::contextMenuEvent(QContextMenuEvent* e) {
    if (!handlerOnly_) {
        QPlainTextEdit::contextMenuEvent(e);
        return;
    }
    QMenu* menu = createStandardContextMenu(e->pos());
    for (QAction* a : menu->actions()) {
        const QString entry = a->objectName();
        if (entry == QLatin1String("edit-undo") || entry == QLatin1String("edit-redo") ||
            entry == QLatin1String("edit-cut") || entry == QLatin1String("edit-delete"))
            a->setEnabled(false);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void TextArea::mousePressEvent(QMouseEvent* e) {
    // A press on the selection would start dragging it, which moves the
    // text: the press begins a new selection instead.
    QTextCursor c = textCursor();
    const int at = cursorForPosition(e->position().toPoint()).position();
    if (handlerOnly_ && e->button() == Qt::LeftButton && c.hasSelection() && at >= c.selectionStart() &&
        at < c.selectionEnd()) {
        c.clearSelection();
        setTextCursor(c);
    }
    QPlainTextEdit::mousePressEvent(e);
}
