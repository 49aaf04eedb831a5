#pragma once
// What the program's multi-line boxes (TextArea, RichTextBox) share: their
// text with CR LF between lines and selection positions counted in it (a
// line break counts 2), and the key-press handler that every typed, pasted
// and composed character passes. Works on QPlainTextEdit and QTextEdit alike.
#include "Platform/Ansi.h"
#include "Platform/Keys.h"

#include <QKeyEvent>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>

namespace CrLf {

// The document's text with CR LF line breaks.
QString text(const QTextDocument* doc);
// CR LF, LF or CR line breaks as the document's LF (in one pass, also for
// files of many megabytes).
QString toLf(const QString& text);
QString selText(const QTextCursor& c);
int selStart(const QTextCursor& c);
int selLength(const QTextCursor& c);
// Puts the caret at `pos`, nothing selected.
void setSelStart(QTextCursor& c, int pos);
// Selects `n` positions from the selection's start (fewer at the end).
void setSelLength(QTextCursor& c, int n);

} // namespace CrLf

namespace EditKeys {

using KeyPress = std::function<void(int& KeyAscii)>;

// The character code a character of pasted or composed text types.
int codeOf(QChar c);

// Applies a code that passed the handler: Backspace, Enter (a plain line
// break), Tab or a Windows-1252 character; 0 and other control codes do nothing.
template <class Edit> void put(Edit* box, int code) {
    if (code == 0 || box->isReadOnly()) return;
    QTextCursor c = box->textCursor();
    if (code == Keys::vbKeyBack) c.deletePreviousChar();
    else if (code == Keys::vbKeyReturn) c.insertText(QStringLiteral("\n"));
    else if (code == Keys::vbKeyTab) c.insertText(QStringLiteral("\t"));
    else if (code >= 32) c.insertText(QString(Ansi::fromCode(code)));
    box->setTextCursor(c);
}

// Every character through the handler, then applied ("\b" is Backspace).
template <class Edit> void type(Edit* box, const KeyPress& onKeyPress, const QString& text) {
    for (QChar ch : text) {
        int code = ch == u'\b' ? int(Keys::vbKeyBack) : codeOf(ch);
        if (onKeyPress) onKeyPress(code);
        put(box, code);
    }
}

// Pasted text: a CR LF pair is one Enter; other control characters are dropped.
template <class Edit> void paste(Edit* box, const KeyPress& onKeyPress, const QString& text) {
    QString typed;
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'\n' && i > 0 && text[i - 1] == u'\r') continue;
        if (ch < u' ' && ch != u'\r' && ch != u'\n' && ch != u'\t') continue;
        typed += ch;
    }
    type(box, onKeyPress, typed);
}

// The key-press handler's part of a key event; false when the editor's own
// handling should follow (keys that type nothing, unchanged characters and
// Ctrl+letters: Ctrl+V then pastes through insertFromMimeData).
template <class Edit> bool keyPress(Edit* box, QKeyEvent* e, const KeyPress& onKeyPress) {
    const int ascii = Keys::keyAscii(e);
    if (!onKeyPress || ascii < 0) return false;
    int code = ascii;
    onKeyPress(code);
    if (code == 0) return true;
    // Backspace and Enter are applied here, so Enter always makes a plain
    // line break (the editor's Shift+Enter would make a soft one).
    if (code == ascii && ascii != Keys::vbKeyBack && ascii != Keys::vbKeyReturn) return false;
    put(box, code);
    return true;
}

} // namespace EditKeys
