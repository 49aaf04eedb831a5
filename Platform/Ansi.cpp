#include "Platform/Ansi.h"

#include <QStringDecoder>

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

QString decodeDocument(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        return utf16.decode(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (s.startsWith(QChar(0xFEFF))) s.remove(0, 1);
        return s;
    }
    return decode(bytes);
}

bool isControl(QChar c) {
    const char16_t u = c.unicode();
    return (u < 32 && u != u'\t') || u == 127;
}

bool isBinary(const QString& decoded) {
    qsizetype n = decoded.size();
    while (n > 0 && decoded[n - 1] == QChar(26)) --n;
    qsizetype text = 0, other = 0;
    bool empty = true, control = false;
    for (qsizetype i = 0; i <= n; ++i) {
        const QChar c = i < n ? decoded[i] : QChar(u'\n');
        if (c == u'\r' || c == u'\n') {
            if (!empty) ++(control ? other : text);
            empty = true;
            control = false;
        } else if (c != QChar(12)) {
            empty = false;
            control = control || isControl(c);
        }
    }
    return other > 0 && other >= text;
}

} // namespace Ansi
