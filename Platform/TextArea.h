#pragma once
// A multi-line text box with the same key handling as TextBox: the
// key-press handler receives each typed character's code (Enter 13,
// Backspace 8, ...) and may drop (0) or replace it; pasted and
// input-method text passes through it character by character, and the
// handler may drop such a character but not replace it. Its text
// holds CR LF between lines, as the program's files do, and selection
// positions count in that text.
#include "Platform/Controls.h"

#include <QPlainTextEdit>
#include <functional>

class TextArea : public QPlainTextEdit {
public:
    explicit TextArea(QWidget* parent = nullptr);

    QString Text() const;             // lines joined by CR LF
    void setTextValue(const QString& t); // CR LF, LF or CR as line breaks
    int SelStart() const;
    void setSelStart(int pos);
    int SelLength() const;
    void setSelLength(int n);
    QString SelText() const;
    void setSelText(const QString& t); // replaces the selection
    bool Locked() const { return isReadOnly(); }
    void setLocked(bool on) { setReadOnly(on); }

    std::function<void(int& KeyAscii)> onKeyPress;
    std::function<void(int& KeyCode, int Shift)> onKeyDown;
    std::function<void(int& KeyCode, int Shift)> onKeyUp;
    std::function<void()> onChange;
    // Runs before (true) and after (false) text that passes the handler
    // character by character (a paste, composed text): a handler that also
    // edits other boxes can gather those edits into one.
    std::function<void(bool starts)> onTextRun;
    QString Tag;

    // While the key-press handler runs: the character its code stands for.
    // One Windows-1252 lacks arrives as 63, as a "?" does.
    const QString& keyText() const { return keyText_; }

    // Types text as the user would: every character through the handler
    // ("\b" is Backspace, "\r" Enter).
    void typeText(const QString& text);

    // While on, the user changes the text only through the key-press
    // handler (typing, pasting, composing, dropping): undo and redo are off,
    // and Delete, Cut and the word and line deletions, by key or by the
    // context menu, do nothing; no selection is dragged away.
    void setEditsByHandlerOnly(bool on);
    bool editsByHandlerOnly() const { return handlerOnly_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    // Text through the handler; `typed` false for pasted and composed text,
    // which the handler may drop but not remap.
    void enter(const QString& text, bool typed);

    QString keyText_;
    bool handlerOnly_ = false;
};
