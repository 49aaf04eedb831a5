#pragma once
// A box of formatted text: the text and selection of TextArea (CR LF
// between lines, positions counted in that text) plus the format of the
// selection (font name, size, bold, italic, underline, strikethrough,
// colour). Setting a format with nothing selected sets it for the text
// written next at the caret; moving the caret to where it already is keeps
// that format. Typed, pasted and composed characters pass the key-press
// handler, as in TextArea, unless pastesAsIs is set: then pasted and
// dropped text goes in as it is, any character included. The box saves itself as an RTF document
// (Windows-1252 text, other characters as Unicode escapes) and loads plain
// text files. Text without a colour of its own is black.
#include "Platform/Controls.h"

#include <QTextEdit>
#include <functional>

class RichTextBox : public QTextEdit {
public:
    explicit RichTextBox(QWidget* parent = nullptr);

    QString Text() const;                // lines joined by CR LF
    void setTextValue(const QString& t); // plain text; CR LF, LF or CR as line breaks
    int SelStart() const;
    void setSelStart(int pos);
    int SelLength() const;
    void setSelLength(int n);
    QString SelText() const;
    void setSelText(const QString& t); // replaces the selection, in the caret's format
    bool Locked() const { return isReadOnly(); }
    void setLocked(bool on) { setReadOnly(on); }

    // The format of the selection's first character, or of the text
    // written next when nothing is selected.
    QString SelFontName() const;
    void setSelFontName(const QString& name);
    double SelFontSize() const; // points
    void setSelFontSize(double points);
    bool SelBold() const;
    void setSelBold(bool on);
    bool SelItalic() const;
    void setSelItalic(bool on);
    bool SelUnderline() const;
    void setSelUnderline(bool on);
    bool SelStrikeThru() const;
    void setSelStrikeThru(bool on);
    QColor SelColor() const;
    void setSelColor(const QColor& c);

    // Writes `text` at the end in the given font (with its effects) and
    // colour; the caret stays at the end.
    void appendFormatted(const QString& text, const QFont& font, const QColor& color);
    // Writes many stretches at the end as one edit (one undo takes them all
    // back); the caret goes to the end once. The stretches go in by parts of
    // about a hundredth that end with a paragraph, each laid out as it goes
    // in (laying out is most of the work; no paragraph is laid out twice).
    // `progress` receives, before each stretch, how far the writing has come
    // in characters, and their total: those laid out, and a share of those
    // gone in and waiting for their layout (which costs several times their
    // insertion, and comes all at once for one long paragraph), so it is
    // never more than a share of a part ahead of what is laid out; the
    // total only when the document shows them all.
    struct Stretch {
        QString text;
        QFont font;
        QColor color;
    };
    void appendFormatted(const QList<Stretch>& stretches,
                         const std::function<void(qsizetype done, qsizetype total)>& progress = {});

    QString TextRTF() const;
    // Writes the RTF document whole through Storage::save (a failed write
    // leaves an old file as it was); `error` and `number` say why it failed.
    bool SaveFile(const QString& path, QString* error = nullptr, int* number = nullptr) const;
    // Replaces the content with a plain text file: UTF-8 when it is valid
    // UTF-8, else Windows-1252. The file is read whole through
    // Storage::read; when it cannot be, or is too large to hold ("7: Out of
    // memory"), the content stays as it was and `error` and `number` say why.
    bool LoadFile(const QString& path, QString* error = nullptr, int* number = nullptr);

    std::function<void(int& KeyAscii)> onKeyPress;
    std::function<void(int& KeyCode, int Shift)> onKeyDown;
    std::function<void()> onChange;
    QString Tag;
    // Pasted and dropped text skips onKeyPress (which then sees typed keys
    // only): line breaks become the box's own, other control characters
    // are dropped.
    bool pastesAsIs = false;

    // Types text as the user would: every character through the handler
    // ("\b" is Backspace, "\r" Enter).
    void typeText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    QTextCharFormat selFormat() const;
    QFont selFont() const;
};

// The document as RTF: a font table and a colour table, each stretch's
// font (\fN), size in half points (\fsN), \b \i \ul \strike and colour
// (\cfN), \par between lines, characters of Windows-1252 above 127 as \'hh
// and all others as \uN?, with \ { } escaped.
QString writeRtf(const QTextDocument& doc);
