#include "Platform/RichTextBox.h"

#include "Platform/SaveError.h"
#include "Platform/Storage.h"
#include "Platform/TextEditing.h"

#include <QFile>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTextBlock>

#include <algorithm>
#include <new>

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
    // Formats come from the program, not from pasted documents.
    setAcceptRichText(false);
    setTabChangesFocus(true);
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (onChange) onChange();
    });
}

QString RichTextBox::Text() const { return CrLf::text(document()); }
void RichTextBox::setTextValue(const QString& t) { setPlainText(CrLf::toLf(t)); }
int RichTextBox::SelStart() const { return CrLf::selStart(textCursor()); }
int RichTextBox::SelLength() const { return CrLf::selLength(textCursor()); }
QString RichTextBox::SelText() const { return CrLf::selText(textCursor()); }

void RichTextBox::setSelText(const QString& t) {
    QTextCursor c = textCursor();
    c.insertText(CrLf::toLf(t));
    setTextCursor(c);
}

// A caret put back where it stands keeps the format set for the text
// written next (a new cursor position would take its neighbour's format).
void RichTextBox::setSelStart(int pos) {
    const QTextCursor before = textCursor();
    QTextCursor c = before;
    CrLf::setSelStart(c, pos);
    if (!before.hasSelection() && c.position() == before.position()) return;
    setTextCursor(c);
}

void RichTextBox::setSelLength(int n) {
    const QTextCursor before = textCursor();
    QTextCursor c = before;
    CrLf::setSelLength(c, n);
    if (!before.hasSelection() && !c.hasSelection() && c.position() == before.position()) return;
    setTextCursor(c);
}

QTextCharFormat RichTextBox::selFormat() const {
    const QTextCursor c = textCursor();
    if (!c.hasSelection()) return c.charFormat();
    QTextCursor first(document());
    first.setPosition(c.selectionStart() + 1);
    return first.charFormat();
}

QFont RichTextBox::selFont() const { return selFormat().font().resolve(document()->defaultFont()); }


QString RichTextBox::SelFontName() const { return selFont().family(); }
double RichTextBox::SelFontSize() const { return selFont().pointSizeF(); }
bool RichTextBox::SelBold() const { return selFont().bold(); }
bool RichTextBox::SelItalic() const { return selFont().italic(); }
bool RichTextBox::SelUnderline() const { return selFont().underline(); }
bool RichTextBox::SelStrikeThru() const { return selFont().strikeOut(); }

QColor RichTextBox::SelColor() const {
    const QTextCharFormat f = selFormat();
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor(Qt::black);
}

namespace {
// Sets the properties that `set` gives on the selection, or on the text
// written next when nothing is selected.
template <class Set> void mergeFormat(RichTextBox* box, Set set) {
    QTextCharFormat f;
    set(f);
    box->mergeCurrentCharFormat(f);
}
} // namespace

void RichTextBox::setSelFontName(const QString& name) {
    mergeFormat(this, [&](QTextCharFormat& f) { f.setFontFamilies(QStringList{name}); });
}
void RichTextBox::setSelFontSize(double points) {
    mergeFormat(this, [&](QTextCharFormat& f) { f.setFontPointSize(points); });
}
void RichTextBox::setSelBold(bool on) {
    mergeFormat(this, [&](QTextCharFormat& f) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
}
void RichTextBox::setSelItalic(bool on) {
    mergeFormat(this, [&](QTextCharFormat& f) { f.setFontItalic(on); });
}
void RichTextBox::setSelUnderline(bool on) {
    mergeFormat(this, [&](QTextCharFormat& f) { f.setFontUnderline(on); });
}
void RichTextBox::setSelStrikeThru(bool on) {
    mergeFormat(this, [&](QTextCharFormat& f) { f.setFontStrikeOut(on); });
}
void RichTextBox::setSelColor(const QColor& color) {
    mergeFormat(this, [&](QTextCharFormat& f) { f.setForeground(color); });
}

void RichTextBox::appendFormatted(const QString& text, const QFont& font, const QColor& color) {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    QTextCharFormat f;
    f.setFont(font);
    f.setForeground(color);
    c.insertText(CrLf::toLf(text), f);
    setTextCursor(c);
}

void RichTextBox::appendFormatted(const QList<Stretch>& stretches,
                                  const std::function<void(qsizetype, qsizetype)>& progress) {
    qsizetype total = 0, done = 0;
    for (const Stretch& s : stretches) total += s.text.size();
    // A part is about a hundredth of the text and ends after a line break:
    // ending the edit lays out what went in, and a paragraph cut at the end
    // of a part would be laid out again with the next one.
    const qsizetype part = std::max<qsizetype>(total / 100, 4096);
    // Text laid out counts whole; text gone in and waiting for its layout
    // counts an eighth, what its insertion costs of the two: one long
    // paragraph is laid out all at once at the end.
    constexpr qsizetype kLayoutShare = 8;
    qsizetype partStart = 0;
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.beginEditBlock();
    for (const Stretch& s : stretches) {
        // The end is reported once the document shows the text.
        if (progress) progress(partStart + (done - partStart) / kLayoutShare, total);
        QTextCharFormat f;
        f.setFont(s.font);
        f.setForeground(s.color);
        c.insertText(CrLf::toLf(s.text), f);
        done += s.text.size();
        if (done - partStart >= part && done < total && (s.text.contains(u'\n') || s.text.contains(u'\r'))) {
            c.endEditBlock();
            // The next part joins the same edit.
            c.joinPreviousEditBlock();
            partStart = done;
        }
    }
    c.endEditBlock();
    // The end is reported once the document shows the text.
    setTextCursor(c);
    if (progress) progress(total, total);
}

QString RichTextBox::TextRTF() const { return writeRtf(*document()); }

bool RichTextBox::SaveFile(const QString& path, QString* error, int* number) const {
    RuntimeError why{0, QString()};
    // The document holds only ASCII: every other character is escaped.
    if (Storage::save(path, TextRTF().toLatin1(), &why)) return true;
    if (error) *error = why.description;
    if (number) *number = why.number;
    return false;
}

bool RichTextBox::LoadFile(const QString& path, QString* error, int* number) {
    // Whole or not at all: the box keeps what it showed.
    std::optional<RuntimeError> failed;
    try {
        setTextValue(Storage::readDocument(path));
    } catch (const RuntimeError& e) {
        failed = e;
    } catch (const std::bad_alloc&) {
        failed = Err::outOfMemory();
    }
    if (!failed) return true;
    if (error) *error = failed->description;
    if (number) *number = failed->number;
    return false;
}

void RichTextBox::typeText(const QString& text) { EditKeys::type(this, onKeyPress, text); }

void RichTextBox::keyPressEvent(QKeyEvent* e) {
    if (Keys::handlerDrops(onKeyDown, e) || EditKeys::keyPress(this, e, onKeyPress)) return;
    QTextEdit::keyPressEvent(e);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent* e) {
    if (!onKeyPress || e->commitString().isEmpty()) {
        QTextEdit::inputMethodEvent(e);
        return;
    }
    // The editor takes out what the commit replaces (text committed before).
    QInputMethodEvent rest(e->preeditString(), e->attributes());
    rest.setCommitString(QString(), e->replacementStart(), e->replacementLength());
    QTextEdit::inputMethodEvent(&rest);
    EditKeys::type(this, onKeyPress, e->commitString(), nullptr, false);
}

// Every paste (keyboard, menu, middle button, drop) arrives here. Data
// without text (an empty clipboard) pastes nothing.
void RichTextBox::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText() || isReadOnly()) return;
    if (onKeyPress && !pastesAsIs) {
        EditKeys::paste(this, onKeyPress, source->text());
        return;
    }
    const QString text = CrLf::toLf(source->text());
    QString kept;
    kept.reserve(text.size());
    for (QChar ch : text)
        if (ch >= u' ' || ch == u'\n' || ch == u'\t') kept += ch;
    QTextCursor c = textCursor();
    c.insertText(kept);
    setTextCursor(c);
}

// ---- RTF ----

namespace {

QString rtfEscaped(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') out += u'\\' + QString(c);
        else if (c == u'\t') out += QStringLiteral("\\tab ");
        else if (c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            out += QStringLiteral("\\par\r\n");
        else if (u < 32) continue;
        else if (u < 128) out += c;
        else if (const int code = Ansi::code(c); code != '?')
            out += QStringLiteral("\\'%1").arg(code, 2, 16, QLatin1Char('0'));
        else out += QStringLiteral("\\u%1?").arg(int(qint16(u)));
    }
    return out;
}

int indexIn(QStringList& list, const QString& s) {
    if (!list.contains(s)) list << s;
    return int(list.indexOf(s));
}

int indexIn(QList<QColor>& list, const QColor& c) {
    if (!list.contains(c)) list << c;
    return int(list.indexOf(c));
}

struct RtfStyle {
    int font = -1;
    int halfPoints = -1;
    bool bold = false, italic = false, underline = false, strike = false;
    int color = -1;
};

// The control words that change `from` into `to`, with their delimiter.
QString rtfSwitch(const RtfStyle& from, const RtfStyle& to) {
    QString s;
    auto toggle = [&s](bool was, bool is, const char* on, const char* off) {
        if (was != is) s += QLatin1String(is ? on : off);
    };
    if (to.font != from.font) s += QStringLiteral("\\f%1").arg(to.font);
    if (to.halfPoints != from.halfPoints) s += QStringLiteral("\\fs%1").arg(to.halfPoints);
    toggle(from.bold, to.bold, "\\b", "\\b0");
    toggle(from.italic, to.italic, "\\i", "\\i0");
    toggle(from.underline, to.underline, "\\ul", "\\ulnone");
    toggle(from.strike, to.strike, "\\strike", "\\strike0");
    if (to.color != from.color) s += QStringLiteral("\\cf%1").arg(to.color + 1);
    return s.isEmpty() ? s : s + u' ';
}

} // namespace

QString writeRtf(const QTextDocument& doc) {
    QStringList fonts;
    QList<QColor> colors;
    QString body;
    RtfStyle current;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin()) body += QStringLiteral("\\par\r\n");
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            const QFont font = f.font().resolve(doc.defaultFont());
            RtfStyle style;
            style.font = indexIn(fonts, font.family());
            style.halfPoints = qRound((font.pointSizeF() > 0 ? font.pointSizeF() : 12.0) * 2);
            style.bold = font.bold();
            style.italic = font.italic();
            style.underline = font.underline();
            style.strike = font.strikeOut();
            style.color = indexIn(colors, f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color()
                                                                                      : QColor(Qt::black));
            body += rtfSwitch(current, style) + rtfEscaped(fragment.text());
            current = style;
        }
    }
    if (fonts.isEmpty()) fonts << doc.defaultFont().family();
    QString rtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
    for (int i = 0; i < fonts.size(); ++i)
        rtf += QStringLiteral("{\\f%1\\fnil\\fcharset0 %2;}").arg(i).arg(rtfEscaped(fonts[i]));
    rtf += QStringLiteral("}\r\n{\\colortbl ;");
    for (const QColor& c : colors) rtf += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
    return rtf + QStringLiteral("}\r\n\\pard") + body + QStringLiteral("}\r\n");
}
