#include "Platform/TextArea.h"

#include "Platform/Ansi.h"
#include "Platform/Keys.h"

#include <QInputMethodEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

bool isBreak(QChar c) { return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n'; }

QString withCrLf(const QString& raw) {
    QString out;
    out.reserve(raw.size() + raw.size() / 16);
    for (QChar c : raw) {
        if (isBreak(c)) out += QStringLiteral("\r\n");
        else out += c;
    }
    return out;
}

// The character code a character of pasted or composed text types.
int codeOf(QChar c) {
    if (c == u'\r' || c == u'\n') return Keys::vbKeyReturn;
    if (c == u'\t') return Keys::vbKeyTab;
    return Ansi::code(c);
}

} // namespace

TextArea::TextArea(QWidget* parent) : QPlainTextEdit(parent) {
    // As in the program's other boxes, Tab moves on to the next control.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (onChange) onChange();
    });
}

// The document's text keeps one separator per line break; toPlainText()
// would also turn no-break spaces into blanks.
QString TextArea::Text() const { return withCrLf(document()->toRawText()); }

void TextArea::setTextValue(const QString& t) {
    QString s = t;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    setPlainText(s);
}

namespace {
// Positions in the CR LF text and in the document, where a break counts 1.
int crLfPosition(const QString& raw, int docPos) {
    int pos = docPos;
    for (int i = 0; i < docPos && i < raw.size(); ++i)
        if (isBreak(raw[i])) ++pos;
    return pos;
}

int documentPosition(const QString& raw, int crLfPos) {
    int acc = 0;
    for (int i = 0; i < raw.size(); ++i) {
        if (acc >= crLfPos) return i;
        acc += isBreak(raw[i]) ? 2 : 1;
    }
    return int(raw.size());
}
} // namespace

int TextArea::SelStart() const { return crLfPosition(document()->toRawText(), textCursor().selectionStart()); }

void TextArea::setSelStart(int pos) {
    QTextCursor c = textCursor();
    c.setPosition(documentPosition(document()->toRawText(), qMax(0, pos)));
    setTextCursor(c);
}

int TextArea::SelLength() const {
    const QString raw = document()->toRawText();
    const QTextCursor c = textCursor();
    return crLfPosition(raw, c.selectionEnd()) - crLfPosition(raw, c.selectionStart());
}

void TextArea::setSelLength(int n) {
    const QString raw = document()->toRawText();
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(documentPosition(raw, crLfPosition(raw, start) + qMax(0, n)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString TextArea::SelText() const { return withCrLf(textCursor().selectedText()); }

void TextArea::setSelText(const QString& t) {
    QString s = t;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    insertPlainText(s);
}

namespace {
// Applies a character code that passed the handler.
void put(TextArea* box, int code) {
    if (code == 0 || box->isReadOnly()) return;
    if (code == Keys::vbKeyBack) box->textCursor().deletePreviousChar();
    else if (code == Keys::vbKeyReturn) box->insertPlainText(QStringLiteral("\n"));
    else if (code == Keys::vbKeyTab) box->insertPlainText(QStringLiteral("\t"));
    else if (code >= 32) box->insertPlainText(QString(Ansi::fromCode(code)));
}
} // namespace

void TextArea::applyCharacter(int code) {
    if (onKeyPress) onKeyPress(code);
    put(this, code);
}

void TextArea::typeText(const QString& text) {
    for (QChar c : text) applyCharacter(c == u'\b' ? int(Keys::vbKeyBack) : codeOf(c));
}

void TextArea::keyPressEvent(QKeyEvent* e) {
    if (Keys::handlerDrops(onKeyDown, e)) return;
    const int ascii = Keys::keyAscii(e);
    if (!onKeyPress || ascii < 0) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    int code = ascii;
    onKeyPress(code);
    if (code == 0) return;
    // An unchanged key does the editor's work (Ctrl+V pastes, each pasted
    // character passing the handler in insertFromMimeData); Backspace and
    // Enter are applied here, so Enter always makes a plain line break.
    if (code == ascii && ascii != Keys::vbKeyBack && ascii != Keys::vbKeyReturn) {
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    put(this, code);
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
    const QString commit = e->commitString();
    QInputMethodEvent rest(e->preeditString(), e->attributes());
    QPlainTextEdit::inputMethodEvent(&rest);
    typeText(commit);
    e->accept();
}

// Every paste (keyboard, menu, middle button, drop) arrives here.
void TextArea::insertFromMimeData(const QMimeData* source) {
    if (!onKeyPress || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    const QString text = source->text();
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && i > 0 && text[i - 1] == u'\r') continue;
        if (text[i] < u' ' && text[i] != u'\r' && text[i] != u'\n' && text[i] != u'\t') continue;
        applyCharacter(codeOf(text[i]));
    }
}

void TextArea::contextMenuEvent(QContextMenuEvent* e) { QPlainTextEdit::contextMenuEvent(e); }
