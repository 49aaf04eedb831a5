#include "Platform/Numbers.h"

#include "Platform/Errors.h"
#include "Platform/Runtime.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

// The C library's printf and strtod follow LC_NUMERIC, which Qt sets from the
// environment; std::to_chars and std::from_chars never do, so they carry all
// conversions between doubles and decimal digits here.

namespace Runtime {

namespace {

// A decimal number: value = 0.d1d2...dn x 10^pointPos, sign apart.
// digits holds no leading or trailing zeros; it is empty for zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    long pointPos = 0;

    bool isZero() const { return digits.empty(); }
};

// Exponents read from texts are held within this bound, far beyond the range
// of a double, so that the arithmetic on pointPos cannot overflow.
constexpr long kExponentLimit = 1000000;

void normalize(Decimal& d) {
    std::size_t lead = 0;
    while (lead < d.digits.size() && d.digits[lead] == '0') ++lead;
    d.digits.erase(0, lead);
    d.pointPos -= static_cast<long>(lead);
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.pointPos = 0;
}

// The value brought to 15 significant digits, rounded on the exact binary
// value: the decimal text that the runtime showed and judged on.
Decimal fromDouble(double v) {
    Decimal d;
    d.negative = std::signbit(v);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v),
                                   std::chars_format::scientific, 14);
    const std::string text(buf, res.ptr);   // d.dddddddddddddde+XX
    const auto e = text.find('e');
    d.digits = text.substr(0, 1) + text.substr(2, e - 2);
    d.pointPos = std::stol(text.substr(e + 1)) + 1;
    normalize(d);
    if (d.isZero()) d.negative = false;
    return d;
}

Decimal fromInteger(qint64 v) {
    Decimal d;
    d.negative = v < 0;
    const quint64 mag = v < 0 ? quint64(0) - quint64(v) : quint64(v);
    d.digits = std::to_string(mag);
    d.pointPos = static_cast<long>(d.digits.size());
    normalize(d);
    return d;
}

// The double nearest to a decimal; nullopt when beyond the range of a double.
// Values too small for a double become 0.
std::optional<double> toDouble(const Decimal& d) {
    if (d.isZero()) return 0.0;
    if (d.pointPos > 400) return std::nullopt;
    if (d.pointPos < -400) return 0.0;
    const std::string text = "0." + d.digits + "e" + std::to_string(d.pointPos);
    double v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        if (d.pointPos > 0) return std::nullopt;
        v = 0;
    } else if (res.ec != std::errc()) {
        return std::nullopt;   // cannot happen for the text built above
    }
    if (std::isinf(v)) return std::nullopt;
    return d.negative ? -v : v;
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The value of a hexadecimal digit, -1 for any other character.
int digitValue(QChar c) {
    if (isDigit(c)) return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
    return -1;
}

// --- The leading value ---------------------------------------------------------

bool isValBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }

// `stop`, when given, is where the reading ended (blanks after it skipped).
double leadingValue(const QString& s, qsizetype* stop = nullptr) {
    const qsizetype n = s.size();
    qsizetype i = 0;
    auto skip = [&] { while (i < n && isValBlank(s[i])) ++i; };
    auto at = [&](qsizetype k) { return k < n ? s[k] : QChar(); };

    const auto done = [&](double v) {
        skip();
        if (stop) *stop = i;
        return v;
    };
    skip();
    if (at(i) == u'&') {
        ++i;
        skip();
        const QChar kind = at(i).toUpper();
        int base = 0;
        if (kind == u'H') base = 16;
        else if (kind == u'O') base = 8;
        else return done(0);
        ++i;
        quint64 v = 0;
        bool over = false;
        for (;;) {
            skip();
            if (i >= n) break;
            const int dv = digitValue(s[i]);
            if (dv < 0 || dv >= base) break;
            if (!over) {
                v = v * base + dv;
                if (v > 0xFFFFFFFFull) over = true;
            }
            ++i;
        }
        if (over) throw Err::overflow();
        if (v <= 0xFFFF) return done(static_cast<qint16>(static_cast<quint16>(v)));
        return done(static_cast<qint32>(static_cast<quint32>(v)));
    }

    Decimal d;
    std::string whole, frac;
    if (at(i) == u'+' || at(i) == u'-') {
        d.negative = at(i) == u'-';
        ++i;
    }
    bool point = false;
    long exponent = 0;
    for (;;) {
        skip();
        if (i >= n) break;
        const QChar c = s[i];
        if (isDigit(c)) {
            (point ? frac : whole) += char(c.unicode());
            ++i;
        } else if (c == u'.' && !point) {
            point = true;
            ++i;
        } else if (c == u'E' || c == u'e' || c == u'D' || c == u'd') {
            ++i;
            skip();
            bool expNegative = false;
            if (at(i) == u'+' || at(i) == u'-') {
                expNegative = at(i) == u'-';
                ++i;
            }
            for (;;) {
                skip();
                if (i >= n || !isDigit(s[i])) break;
                if (exponent < kExponentLimit) exponent = exponent * 10 + (s[i].unicode() - u'0');
                ++i;
            }
            if (expNegative) exponent = -exponent;
            break;
        } else {
            break;
        }
    }
    d.digits = whole + frac;
    d.pointPos = static_cast<long>(whole.size()) + exponent;
    normalize(d);
    if (d.isZero()) return done(0.0);
    const auto v = toDouble(d);
    if (!v) throw Err::overflow();
    return done(*v);
}

// --- Numbers by the regional settings ----------------------------------------

enum class Status { Ok, NotNumber, Overflow };

struct NumberChars {
    QChar decimal;
    QChar group;          // null when the settings have none
    bool groupIsSpace;    // a space-like group separator admits a plain blank too
    QString currency;
    QChar minus, plus;    // the settings' signs, besides '-' and '+'
};

NumberChars numberChars() {
    const QLocale loc = locale();
    NumberChars nc;
    const QString dec = loc.decimalPoint();
    nc.decimal = dec.isEmpty() ? QChar(u'.') : dec.at(0);
    const QString grp = loc.groupSeparator();
    nc.group = grp.isEmpty() ? QChar() : grp.at(0);
    if (nc.group == nc.decimal) nc.group = QChar();   // the decimal point masks it
    nc.groupIsSpace = !nc.group.isNull() && nc.group.isSpace();
    nc.currency = loc.currencySymbol();
    if (nc.currency.isEmpty()) nc.currency = QStringLiteral("$");   // the runtime's default
    const QString minus = loc.negativeSign();
    const QString plus = loc.positiveSign();
    nc.minus = minus.isEmpty() ? QChar(u'-') : minus.at(0);
    nc.plus = plus.isEmpty() ? QChar(u'+') : plus.at(0);
    return nc;
}

// Reads a whole text as a number by the regional settings.
Status readNumber(const QString& s, Decimal* out, double* value) {
    const NumberChars nc = numberChars();
    const qsizetype n = s.size();
    qsizetype i = 0;
    auto at = [&](qsizetype k) { return k < n ? s[k] : QChar(); };
    auto isGroup = [&](QChar c) {
        return (!nc.group.isNull() && c == nc.group) || (nc.groupIsSpace && c == u' ');
    };
    auto isMinus = [&](QChar c) { return c == u'-' || c == nc.minus; };
    auto isPlus = [&](QChar c) { return c == u'+' || c == nc.plus; };
    auto currencyAt = [&](qsizetype k) {
        return QStringView(s).mid(k).startsWith(nc.currency);
    };

    bool leadingSign = false, negative = false, currency = false, parens = false;
    bool decimal = false;

    // Leading blanks, sign, currency sign, opening parenthesis, decimal point.
    while (i < n) {
        const QChar c = s[i];
        if (c == nc.decimal) {
            decimal = true;
            ++i;
            break;
        } else if (c.isSpace()) {
            ++i;
        } else if (isGroup(c)) {
            return Status::NotNumber;   // not before the first digit
        } else if (!leadingSign && (isMinus(c) || isPlus(c))) {
            leadingSign = true;
            negative = isMinus(c);
            ++i;
        } else if (!currency && currencyAt(i)) {
            currency = true;
            i += nc.currency.size();
        } else if (!parens && c == u'(') {
            parens = true;
            ++i;
        } else {
            break;
        }
    }

    Decimal d;
    bool sawDigit = false;
    bool hex = false;

    if (!currency && !decimal && at(i) == u'&'
        && (at(i + 1).toUpper() == u'H' || at(i + 1).toUpper() == u'O')) {
        hex = true;
        const int base = at(i + 1).toUpper() == u'H' ? 16 : 8;
        i += 2;
        quint64 v = 0;
        bool over = false;
        while (i < n) {
            const QChar c = s[i];
            const int dv = digitValue(c);
            if (dv < 0 || dv >= base) break;
            sawDigit = true;
            if (!over) {
                v = v * base + dv;
                if (v > 0xFFFFFFFFull) over = true;
            }
            ++i;
        }
        if (over) {
            d.digits = "1";
            d.pointPos = 1000;   // marks the overflow below
        } else {
            // Like a 32-bit literal: &HFFFFFFFF is -1.
            d = fromInteger(static_cast<qint32>(static_cast<quint32>(v)));
        }
    } else {
        std::string whole, frac;
        long exponent = 0;
        while (i < n) {
            const QChar c = s[i];
            if (isDigit(c)) {
                (decimal ? frac : whole) += char(c.unicode());
                sawDigit = true;
                ++i;
            } else if (!decimal && isGroup(c)) {
                ++i;
            } else if (!decimal && c == nc.decimal) {
                decimal = true;
                ++i;
            } else if (!currency && (c == u'E' || c == u'e')) {
                ++i;
                bool expNegative = false;
                if (isMinus(at(i)) || isPlus(at(i))) {
                    expNegative = isMinus(at(i));
                    ++i;
                }
                if (!isDigit(at(i))) return Status::NotNumber;   // an unfinished exponent
                while (isDigit(at(i))) {
                    if (exponent < kExponentLimit) exponent = exponent * 10 + (s[i].unicode() - u'0');
                    ++i;
                }
                if (expNegative) exponent = -exponent;
                break;
            } else {
                break;
            }
        }
        d.digits = whole + frac;
        d.pointPos = static_cast<long>(whole.size()) + exponent;
        normalize(d);
    }

    // Trailing group separators, blanks, sign, closing parenthesis, currency sign.
    bool trailingSign = false, closed = false;
    while (i < n) {
        const QChar c = s[i];
        if (!hex && isGroup(c)) {
            ++i;
        } else if (c.isSpace()) {
            ++i;
        } else if (!leadingSign && !trailingSign && (isMinus(c) || isPlus(c))) {
            trailingSign = true;
            if (isMinus(c)) negative = true;
            ++i;
        } else if (parens && !closed && c == u')') {
            closed = true;
            negative = true;
            ++i;
        } else if (!hex && !currency && currencyAt(i)) {
            currency = true;
            i += nc.currency.size();
        } else {
            break;
        }
    }

    if (i != n || !sawDigit || parens != closed) return Status::NotNumber;

    if (negative) d.negative = !d.negative;   // -&H10 is -16, -&HFFFFFFFF is 1
    if (d.isZero()) d.negative = false;

    const auto v = toDouble(d);
    if (!v) return Status::Overflow;
    if (out) *out = d;
    if (value) *value = *v;
    return Status::Ok;
}

// --- Writing --------------------------------------------------------------------

QString generalForm(const Decimal& d) {
    if (d.isZero()) return QStringLiteral("0");
    const QChar sep = decimalSeparator();
    const long n = static_cast<long>(d.digits.size());
    const long x = d.pointPos - 1;   // the exponent of the scientific form
    QString out;
    if (d.negative) out += u'-';
    if (x < -4 || x >= 15) {
        out += QLatin1Char(d.digits[0]);
        if (n > 1) {
            out += sep;
            out += QString::fromLatin1(d.digits.data() + 1, n - 1);
        }
        out += u'E';
        out += x < 0 ? u'-' : u'+';
        const long ax = x < 0 ? -x : x;
        if (ax < 10) out += u'0';
        out += QString::number(ax);
    } else if (d.pointPos <= 0) {
        out += u'0';
        out += sep;
        out += QString(-d.pointPos, u'0');
        out += QString::fromLatin1(d.digits.data(), n);
    } else if (d.pointPos >= n) {
        out += QString::fromLatin1(d.digits.data(), n);
        out += QString(d.pointPos - n, u'0');
    } else {
        out += QString::fromLatin1(d.digits.data(), d.pointPos);
        out += sep;
        out += QString::fromLatin1(d.digits.data() + d.pointPos, n - d.pointPos);
    }
    return out;
}

// The sections of a pattern, split at the semicolons outside quotes.
QStringList sections(const QString& pattern) {
    QStringList parts;
    QString cur;
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'"') quoted = !quoted;
        if (!quoted && c == u'\\' && i + 1 < pattern.size()) {
            cur += c;
            cur += pattern[++i];
            continue;
        }
        if (!quoted && c == u';') {
            parts << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    parts << cur;
    return parts;
}

struct Token {
    enum Kind { Literal, IntDigit, FracDigit, Point, Comma } kind;
    QChar placeholder;   // '0' or '#' for digits
    QString text;        // for literals
};

QString formatDecimal(Decimal d, const QString& pattern) {
    const QStringList parts = sections(pattern);
    const bool negative = d.negative && !d.isZero();
    QString section = parts.value(0);
    bool signShown = negative;
    if (negative && parts.size() >= 2 && !parts[1].isEmpty()) {
        section = parts[1];
        signShown = false;   // the negative section writes its own signs
    } else if (d.isZero() && parts.size() >= 3 && !parts[2].isEmpty()) {
        section = parts[2];
    }

    // Tokens of the section.
    std::vector<Token> tokens;
    bool seenPoint = false;
    int percent = 0;
    auto literal = [&](const QString& t) {
        if (!tokens.empty() && tokens.back().kind == Token::Literal) tokens.back().text += t;
        else tokens.push_back({Token::Literal, QChar(), t});
    };
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'"') {
            const qsizetype end = section.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? section.size() : end;
            literal(section.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == u'\\') {
            if (i + 1 < section.size()) literal(QString(section[++i]));
        } else if (c == u'0' || c == u'#') {
            tokens.push_back({seenPoint ? Token::FracDigit : Token::IntDigit, c, {}});
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            tokens.push_back({Token::Point, QChar(), {}});
        } else if (c == u',') {
            if (!seenPoint) tokens.push_back({Token::Comma, QChar(), {}});
        } else {
            if (c == u'%') ++percent;
            literal(QString(c));
        }
    }

    // Commas between whole-part placeholders group; commas after the last one
    // divide by 1000 each.
    bool grouping = false;
    int scale = 0;
    {
        bool digitBefore = false;
        for (std::size_t k = 0; k < tokens.size(); ++k) {
            if (tokens[k].kind == Token::IntDigit) digitBefore = true;
            if (tokens[k].kind != Token::Comma || !digitBefore) continue;
            bool digitAfter = false;
            for (std::size_t j = k + 1; j < tokens.size() && tokens[j].kind != Token::Point; ++j)
                if (tokens[j].kind == Token::IntDigit) digitAfter = true;
            if (digitAfter) grouping = true;
            else ++scale;
        }
    }
    if (!d.isZero()) d.pointPos += 2L * percent - 3L * scale;

    int intPlaceholders = 0, fracPlaceholders = 0, minInt = 0, minFrac = 0;
    for (const Token& t : tokens) {
        if (t.kind == Token::IntDigit) {
            ++intPlaceholders;
            if (t.placeholder == u'0' && minInt == 0) minInt = 1;
            else if (minInt > 0) ++minInt;
        } else if (t.kind == Token::FracDigit) {
            ++fracPlaceholders;
            if (t.placeholder == u'0') minFrac = fracPlaceholders;
        }
    }

    // The whole and fractional digits, rounded on the decimal text, a half
    // away from zero.
    std::string whole, frac;
    if (!d.isZero()) {
        const long n = static_cast<long>(d.digits.size());
        if (d.pointPos > 0) {
            whole = d.digits.substr(0, std::min(d.pointPos, n));
            if (d.pointPos > n) whole.append(d.pointPos - n, '0');
            if (d.pointPos < n) frac = d.digits.substr(d.pointPos);
        } else if (-d.pointPos <= fracPlaceholders) {
            frac.assign(-d.pointPos, '0');
            frac += d.digits;
        }   // else: far below the last shown digit, it rounds to zero
    }
    if (frac.size() > std::size_t(fracPlaceholders)) {
        const bool up = frac[fracPlaceholders] >= '5';
        frac.resize(fracPlaceholders);
        if (up) {
            std::string all = whole + frac;
            long k = static_cast<long>(all.size()) - 1;
            while (k >= 0 && all[k] == '9') all[k--] = '0';
            if (k >= 0) ++all[k];
            else all.insert(all.begin(), '1');
            const std::size_t wholeSize = all.size() - frac.size();
            whole = all.substr(0, wholeSize);
            frac = all.substr(wholeSize);
        }
    }
    {
        std::size_t lead = 0;
        while (lead < whole.size() && whole[lead] == '0') ++lead;
        whole.erase(0, lead);
    }
    const bool roundsToZero = whole.empty() && frac.find_first_not_of('0') == std::string::npos;
    if (roundsToZero) signShown = false;
    if (whole.size() < std::size_t(minInt)) whole.insert(0, minInt - whole.size(), '0');
    while (frac.size() > std::size_t(minFrac) && frac.back() == '0') frac.pop_back();
    if (frac.size() < std::size_t(minFrac)) frac.append(minFrac - frac.size(), '0');

    // Whole digits per placeholder, from the right; the first placeholder
    // takes all the digits that are left.
    std::vector<std::string> share(intPlaceholders);
    {
        std::string rest = whole;
        for (int k = intPlaceholders - 1; k >= 1; --k) {
            if (!rest.empty()) {
                share[k] = rest.substr(rest.size() - 1);
                rest.pop_back();
            }
        }
        if (intPlaceholders > 0) share[0] = rest;
    }

    const QString groupSep = locale().groupSeparator();
    const QChar decSep = decimalSeparator();
    QString out;
    std::size_t remaining = whole.size();
    auto writeWhole = [&](const std::string& digits) {
        for (char ch : digits) {
            out += QLatin1Char(ch);
            --remaining;
            if (grouping && remaining > 0 && remaining % 3 == 0) out += groupSep;
        }
    };
    auto writeSign = [&] {
        if (signShown) out += u'-';
        signShown = false;
    };
    int intIndex = 0, fracIndex = 0;
    for (const Token& t : tokens) {
        switch (t.kind) {
        case Token::Literal:
            out += t.text;
            break;
        case Token::Comma:
            break;
        case Token::IntDigit:
            writeSign();
            writeWhole(share[intIndex++]);
            break;
        case Token::Point:
            writeSign();
            if (intPlaceholders == 0) writeWhole(whole);
            out += decSep;
            break;
        case Token::FracDigit:
            if (std::size_t(fracIndex) < frac.size()) out += QLatin1Char(frac[fracIndex]);
            ++fracIndex;
            break;
        }
    }
    if (signShown) out.prepend(u'-');   // a pattern without any placeholder
    return out;
}

template <typename T>
T roundToInteger(double v) {
    if (!std::isfinite(v)) throw Err::overflow();
    // A half goes to the even neighbour, whatever the FPU's rounding mode.
    double r = std::floor(v);
    const double diff = v - r;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
    // The type's limits as doubles: the lower one is exact, the upper one is
    // the first value beyond the range (2^15, 2^31, 2^63).
    const double lowest = static_cast<double>(std::numeric_limits<T>::min());
    const double beyond = -lowest;
    if (r < lowest || r >= beyond) throw Err::overflow();
    return static_cast<T>(r);
}

} // namespace

// --- Public functions -----------------------------------------------------------

double Val(const QString& text) { return leadingValue(text); }

std::optional<double> wholeValue(const QString& text) {
    if (std::none_of(text.begin(), text.end(), isDigit)) return std::nullopt;
    qsizetype stop = 0;
    try {
        const double v = leadingValue(text, &stop);
        if (stop != text.size()) return std::nullopt;
        return v;
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

bool IsNumeric(const QString& text) {
    return readNumber(text, nullptr, nullptr) == Status::Ok;
}

double CDbl(const QString& text) {
    double v = 0;
    switch (readNumber(text, nullptr, &v)) {
    case Status::Ok: return v;
    case Status::Overflow: throw Err::overflow();
    case Status::NotNumber: break;
    }
    throw Err::typeMismatch();
}

std::optional<double> toNumber(const QString& text) {
    double v = 0;
    if (readNumber(text, nullptr, &v) != Status::Ok) return std::nullopt;
    return v;
}

QString CStr(double value) {
    if (!std::isfinite(value)) throw Err::overflow();
    return generalForm(fromDouble(value));
}

QString Format(double value, const QString& pattern) {
    if (!std::isfinite(value)) throw Err::overflow();
    if (pattern.isEmpty()) return CStr(value);
    return formatDecimal(fromDouble(value), pattern);
}

QString Format(const QString& text, const QString& pattern) {
    Decimal d;
    double v = 0;
    if (readNumber(text, &d, &v) != Status::Ok) return text;
    if (pattern.isEmpty()) return CStr(v);
    return formatDecimal(d, pattern);
}

QChar decimalSeparator() {
    const QString dec = locale().decimalPoint();
    return dec.isEmpty() ? QChar(u'.') : dec.at(0);
}

qint16 CInt(double value) { return roundToInteger<qint16>(value); }
qint32 CLng(double value) { return roundToInteger<qint32>(value); }
qint64 CLngLng(double value) { return roundToInteger<qint64>(value); }

qint16 CInt(const QString& text) { return CInt(CDbl(text)); }
qint32 CLng(const QString& text) { return CLng(CDbl(text)); }

QString LTrim(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    return text.mid(i);
}

QString RTrim(const QString& text) {
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ') --n;
    return text.left(n);
}

QString Trim(const QString& text) { return LTrim(RTrim(text)); }

} // namespace Runtime
