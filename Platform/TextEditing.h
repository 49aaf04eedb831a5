#pragma once
// What the program's multi-line boxes (TextArea, RichTextBox) share: their
// text with CR LF between lines and selection positions counted in it (a
// line break counts 2), and the key-press handler that every typed, pasted
// and composed character passes. Works on QPlainTextEdit and QTextEdit alike.
// The one-line box (TextBox) shares how pasted text becomes one line.
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

// Applies a code that passed the handler at the box's caret: Backspace,
// Enter (a plain line break), Tab or a Windows-1252 character; 0 and other
// control codes do nothing. `as` is the text a printable code goes in as,
// where not its own Windows-1252 character. The caret moves with the edit;
// `show` also brings it into view (which lays out its line).
template <class Edit> void put(Edit* box, int code, const QString& as = QString(), bool show = true) {
    if (code == 0 || box->isReadOnly()) return;
    QTextCursor c = box->textCursor();
    if (code == Keys::vbKeyBack) c.deletePreviousChar();
    else if (code == Keys::vbKeyReturn) c.insertText(QStringLiteral("\n"));
    else if (code == Keys::vbKeyTab) c.insertText(QStringLiteral("\t"));
    else if (code >= 32) c.insertText(as.isEmpty() ? QString(Ansi::fromCode(code)) : as);
    if (show) box->setTextCursor(c);
}

// Every character through the handler, then applied ("\b" is Backspace).
// While the handler runs, `current` (where given) holds the character its
// code stands for: one Windows-1252 lacks arrives as 63 "?" and, left so by
// the handler, goes in as itself, as a typed one does. A character beyond
// 16 bits (a surrogate pair) is one character. `typed` false (a paste,
// composed text): the handler may drop a character, but what it lets pass
// goes in as it came; a handler's remapping is for keys the user types.
// A handler sees the box's text up to the character before when its code
// is Backspace, Enter or Tab; printable characters in a row go in together.
template <class Edit>
void type(Edit* box, const KeyPress& onKeyPress, const QString& text, QString* current = nullptr, bool typed = true) {
    // One edit block, the caret shown at the end: the box lays its text
    // out once, not once a character (and one undo takes it back). Each
    // insertion into a laid-out paragraph also walks all its lines, so a
    // row of printable characters goes in with one.
    QTextCursor run(box->document());
    run.beginEditBlock();
    QString row;
    const auto putRow = [&] {
        if (row.isEmpty() || box->isReadOnly()) return row.clear();
        QTextCursor c = box->textCursor();
        c.insertText(row);
        row.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QString ch = text.mid(i, n);
        i += n - 1;
        const int key = ch[0] == u'\b' ? int(Keys::vbKeyBack) : codeOf(ch[0]);
        if (key < 32) putRow();
        int code = key;
        if (current) *current = ch;
        if (onKeyPress) onKeyPress(code);
        if (current) current->clear();
        if (!typed && code != 0) code = key;
        if (code >= 32) {
            row += code == key ? ch : QString(Ansi::fromCode(code));
        } else if (code != 0) {
            putRow();
            put(box, code, QString(), false);
        }
    }
    putRow();
    run.endEditBlock();
    box->setTextCursor(box->textCursor());
}

// Pasted text as it is typed: a CR LF pair is one Enter; other control
// characters are dropped.
QString pasted(const QString& text);

// Pasted or composed text for a one-line box: a run of tabs and line
// breaks between two words is one blank (none beside a blank or at either
// end); other control characters are dropped. `before` and `after` are the
// box's characters around the place the text goes (none at its ends).
QString oneLine(const QString& text, QChar before = QChar(), QChar after = QChar());

// Pasted text through the handler, as `pasted` gives it.
template <class Edit> void paste(Edit* box, const KeyPress& onKeyPress, const QString& text) {
    type(box, onKeyPress, pasted(text), nullptr, false);
}

// The key-press handler's part of a key event; false when the editor's own
// handling should follow (keys that type nothing, unchanged characters and
// Ctrl+letters: Ctrl+V then pastes through insertFromMimeData). Tab (with
// Shift too) types a tab, code 9, in a box where it does not move the focus.
// `current` as for type, with the key's text.
template <class Edit> bool keyPress(Edit* box, QKeyEvent* e, const KeyPress& onKeyPress, QString* current = nullptr) {
    const bool typesTab = (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) && !box->tabChangesFocus() &&
                          !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const int ascii = typesTab ? int(Keys::vbKeyTab) : Keys::keyAscii(e);
    if (!onKeyPress || ascii < 0) return false;
    int code = ascii;
    if (current) *current = typesTab ? QStringLiteral("\t") : e->text();
    onKeyPress(code);
    if (current) current->clear();
    if (code == 0) return true;
    // Backspace, Tab and Enter are applied here, so Enter always makes a
    // plain line break (the editor's Shift+Enter would make a soft one).
    if (code == ascii && ascii != Keys::vbKeyBack && ascii != Keys::vbKeyReturn && ascii != Keys::vbKeyTab)
        return false;
    put(box, code);
    return true;
}

} // namespace EditKeys
