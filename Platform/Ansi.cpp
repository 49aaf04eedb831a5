#include "Platform/Ansi.h"

#include <QStringDecoder>

#include <algorithm>

namespace {
// 0x80..0x9F of Windows-1252; 0 marks the five unassigned codes, which map to
// the C1 control of the same value, as Windows does.
constexpr char16_t high[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
} // namespace

namespace Ansi {

QChar fromCode(int code) {
    code &= 0xFF;
    if (code >= 0x80 && code < 0xA0 && high[code - 0x80]) return QChar(high[code - 0x80]);
    return QChar(char16_t(code));
}

int code(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (int i = 0; i < 32; ++i)
        if (high[i] == u || (high[i] == 0 && u == 0x80 + i)) return 0x80 + i;
    return '?';
}

QString decode(const QByteArray& bytes) {
    QString s;
    s.reserve(bytes.size());
    for (char b : bytes) s += fromCode(static_cast<unsigned char>(b));
    return s;
}

QByteArray encode(const QString& text) {
    QByteArray b;
    b.reserve(text.size());
    for (QChar c : text) b += char(code(c));
    return b;
}

bool holds(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) continue;
        if (code(c) == '?') return false;
    }
    return true;
}

QByteArray encodeFile(const QString& text) { return holds(text) ? encode(text) : text.toUtf8(); }

namespace {
// Whether the bytes after a UTF-16 mark are UTF-16 text: whole code units,
// and every CR or LF among the bytes is one as a character too (in a file
// of single bytes they stand at any offset, and make no line end of UTF-16).
bool isUtf16(QByteArrayView units, bool littleEndian) {
    if (units.size() % 2 != 0) return false;
    bool byteEnds = false, unitEnds = false;
    for (qsizetype i = 0; i < units.size(); i += 2) {
        const char low = littleEndian ? units[i] : units[i + 1], high = littleEndian ? units[i + 1] : units[i];
        byteEnds = byteEnds || units[i] == '\r' || units[i] == '\n' || units[i + 1] == '\r' || units[i + 1] == '\n';
        unitEnds = unitEnds || (high == 0 && (low == '\r' || low == '\n'));
    }
    return unitEnds || !byteEnds;
}

// The code units as they stand, a lone surrogate too (a decoder would put
// U+FFFD in its place, and the line would not be written back as it was).
QString fromUtf16(QByteArrayView units, bool littleEndian) {
    QString s(units.size() / 2, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(s.data());
    for (qsizetype i = 0; i + 1 < units.size(); i += 2) {
        const auto low = static_cast<unsigned char>(littleEndian ? units[i] : units[i + 1]);
        const auto high = static_cast<unsigned char>(littleEndian ? units[i + 1] : units[i]);
        out[i / 2] = char16_t(high << 8 | low);
    }
    return s;
}

QByteArray toUtf16(const QString& text, bool littleEndian) {
    QByteArray b;
    b.reserve(2 + text.size() * 2);
    b += littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
        b += littleEndian ? low : high;
        b += littleEndian ? high : low;
    }
    return b;
}
} // namespace

QString decodeDocument(const QByteArray& bytes, Encoding* writeBack) {
    Encoding read = Encoding::Windows1252;
    const auto reading = [&](QString text) {
        if (writeBack) *writeBack = read;
        return text;
    };
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        const QByteArrayView units = QByteArrayView(bytes).sliced(2);
        if (isUtf16(units, little)) {
            read = little ? Encoding::Utf16LE : Encoding::Utf16BE;
            return reading(fromUtf16(units, little));
        }
    }
    // ASCII reads the same in both; such a file stays Windows-1252.
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) < 0x80; });
    if (ascii) return reading(QString::fromLatin1(bytes));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(bytes);
    if (!utf8.hasError()) {
        read = Encoding::Utf8;
        // The decoder drops the mark itself; the bytes tell whether there was one.
        if (bytes.startsWith("\xEF\xBB\xBF")) {
            if (s.startsWith(QChar(0xFEFF))) s.remove(0, 1);
            read = Encoding::Utf8WithMark;
        }
        return reading(std::move(s));
    }
    s.clear();
    return reading(decode(bytes));
}

qsizetype textLength(const QString& decoded) {
    qsizetype n = decoded.size();
    while (n > 0 && (decoded[n - 1] == QChar(26) || decoded[n - 1] == QChar(0))) --n;
    return n;
}

bool isControl(QChar c) {
    const char16_t u = c.unicode();
    return (u < 32 && u != u'\t') || u == 127;
}

bool isBinary(const QString& decoded) {
    // The end-of-file mark of old editors, and NUL bytes after the text.
    const qsizetype n = textLength(decoded);
    qsizetype nul = 0, control = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = decoded[i];
        if (c == QChar(0)) ++nul;
        if (isControl(c) && c != u'\r' && c != u'\n' && c != QChar(12)) ++control;
    }
    // Text with a stray NUL and a few other slips stays text; a long file
    // with NUL bytes and controls all through it does not.
    return nul > 0 && (control * 8 >= n || (control >= 16 && control * 16 >= n));
}

QByteArray encodeAs(const QString& text, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf8: return text.toUtf8();
    case Encoding::Utf8WithMark: return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Encoding::Utf16LE: return toUtf16(text, true);
    case Encoding::Utf16BE: return toUtf16(text, false);
    case Encoding::Windows1252: break;
    }
    return encodeFile(text);
}

} // namespace Ansi
