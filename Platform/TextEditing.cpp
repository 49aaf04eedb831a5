#include "Platform/TextEditing.h"

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

namespace CrLf {

// The raw text keeps one separator per line break; toPlainText() would
// also turn no-break spaces into blanks.
QString text(const QTextDocument* doc) { return withCrLf(doc->toRawText()); }

// One pass over the text: a whole-text replace of CR LF costs time by the
// square of the length.
QString toLf(const QString& text) {
    if (!text.contains(u'\r')) return text;
    QString out(text.size(), Qt::Uninitialized);
    QChar* to = out.data();
    const QChar* from = text.constData();
    const QChar* end = from + text.size();
    for (; from < end; ++from) {
        if (*from != u'\r') *to++ = *from;
        else if (from + 1 < end && from[1] == u'\n') continue; // its LF follows
        else *to++ = u'\n';
    }
    out.truncate(to - out.constData());
    return out;
}

QString selText(const QTextCursor& c) { return withCrLf(c.selectedText()); }

int selStart(const QTextCursor& c) { return crLfPosition(c.document()->toRawText(), c.selectionStart()); }

int selLength(const QTextCursor& c) {
    const QString raw = c.document()->toRawText();
    return crLfPosition(raw, c.selectionEnd()) - crLfPosition(raw, c.selectionStart());
}

void setSelStart(QTextCursor& c, int pos) {
    c.setPosition(documentPosition(c.document()->toRawText(), qMax(0, pos)));
}

void setSelLength(QTextCursor& c, int n) {
    const QString raw = c.document()->toRawText();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(documentPosition(raw, crLfPosition(raw, start) + qMax(0, n)), QTextCursor::KeepAnchor);
}

} // namespace CrLf

namespace EditKeys {

int codeOf(QChar c) {
    if (c == u'\r' || c == u'\n') return Keys::vbKeyReturn;
    if (c == u'\t') return Keys::vbKeyTab;
    return Ansi::code(c);
}

QString pasted(const QString& text) {
    QString typed;
    typed.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'\n' && i > 0 && text[i - 1] == u'\r') continue;
        if (ch < u' ' && ch != u'\r' && ch != u'\n' && ch != u'\t') continue;
        typed += ch;
    }
    return typed;
}

namespace {
bool breaksLine(QChar c) {
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85) ||
           c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}
} // namespace

QString oneLine(const QString& text, QChar before, QChar after) {
    QString line;
    line.reserve(text.size());
    bool gap = false;
    // The character the next one follows: a word's own, or none.
    QChar last = before;
    const auto inWord = [](QChar c) { return !c.isNull() && c != u' '; };
    for (QChar ch : text) {
        if (breaksLine(ch)) gap = true;
        if (breaksLine(ch) || ch.category() == QChar::Other_Control) continue;
        if (gap && inWord(last) && inWord(ch)) line += u' ';
        gap = false;
        line += ch;
        last = ch;
    }
    if (gap && inWord(last) && inWord(after)) line += u' ';
    return line;
}

} // namespace EditKeys
