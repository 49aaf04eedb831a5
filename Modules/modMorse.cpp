#include "Modules/modMorse.h"

#include "Platform/Ansi.h"

#include <QHash>
#include <algorithm>

namespace Morse {

const std::array<Entry, kEntries>& table() {
    static const std::array<Entry, kEntries> entries{{
        {65, QStringLiteral("A"), QStringLiteral(".- ")},
        {66, QStringLiteral("B"), QStringLiteral("-... ")},
        {67, QStringLiteral("C"), QStringLiteral("-.-. ")},
        {68, QStringLiteral("D"), QStringLiteral("-.. ")},
        {69, QStringLiteral("E"), QStringLiteral(". ")},
        {70, QStringLiteral("F"), QStringLiteral("..-. ")},
        {71, QStringLiteral("G"), QStringLiteral("--. ")},
        {72, QStringLiteral("H"), QStringLiteral(".... ")},
        {73, QStringLiteral("I"), QStringLiteral(".. ")},
        {74, QStringLiteral("J"), QStringLiteral(".--- ")},
        {75, QStringLiteral("K"), QStringLiteral("-.- ")},
        {76, QStringLiteral("L"), QStringLiteral(".-.. ")},
        {77, QStringLiteral("M"), QStringLiteral("-- ")},
        {78, QStringLiteral("N"), QStringLiteral("-. ")},
        {79, QStringLiteral("O"), QStringLiteral("--- ")},
        {80, QStringLiteral("P"), QStringLiteral(".--. ")},
        {81, QStringLiteral("Q"), QStringLiteral("--.- ")},
        {82, QStringLiteral("R"), QStringLiteral(".-. ")},
        {83, QStringLiteral("S"), QStringLiteral("... ")},
        {84, QStringLiteral("T"), QStringLiteral("- ")},
        {85, QStringLiteral("U"), QStringLiteral("..- ")},
        {86, QStringLiteral("V"), QStringLiteral("...- ")},
        {87, QStringLiteral("W"), QStringLiteral(".-- ")},
        {88, QStringLiteral("X"), QStringLiteral("-..- ")},
        {89, QStringLiteral("Y"), QStringLiteral("-.-- ")},
        {90, QStringLiteral("Z"), QStringLiteral("--.. ")},
        {49, QStringLiteral("1"), QStringLiteral(".---- ")},
        {50, QStringLiteral("2"), QStringLiteral("..--- ")},
        {51, QStringLiteral("3"), QStringLiteral("...-- ")},
        {52, QStringLiteral("4"), QStringLiteral("....- ")},
        {53, QStringLiteral("5"), QStringLiteral("..... ")},
        {54, QStringLiteral("6"), QStringLiteral("-.... ")},
        {55, QStringLiteral("7"), QStringLiteral("--... ")},
        {56, QStringLiteral("8"), QStringLiteral("---.. ")},
        {57, QStringLiteral("9"), QStringLiteral("----. ")},
        {48, QStringLiteral("0"), QStringLiteral("----- ")},
        {47, QStringLiteral("/"), QStringLiteral("-..-. ")},
        {58, QStringLiteral(":"), QStringLiteral("---... ")},
        {59, QStringLiteral(";"), QStringLiteral("-.-.-. ")},
        {46, QStringLiteral("."), QStringLiteral(".-.-.- ")},
        {44, QStringLiteral(","), QStringLiteral("--..-- ")},
        {95, QStringLiteral("_"), QStringLiteral("..--.- ")},
        {63, QStringLiteral("?"), QStringLiteral("..--.. ")},
        {40, QStringLiteral("("), QStringLiteral("-.--.- ")},
        {39, QStringLiteral("'"), QStringLiteral(".----. ")},
        {45, QStringLiteral("-"), QStringLiteral("-....- ")},
        {32, QStringLiteral(" "), QStringLiteral(" ")},
        {-1, QStringLiteral("Start"), QStringLiteral("-.-.- ")},
        {-1, QStringLiteral("Break"), QStringLiteral(".--... ")},
        {-1, QStringLiteral("Error"), QStringLiteral("........ ")},
        {-1, QStringLiteral("EOM"), QStringLiteral(".-.-. ")},
        {-1, QStringLiteral("EOC"), QStringLiteral("....-. ")},
        {-1, QString(), QStringLiteral("\r\n.\r\n")},
        {-1, QString(), QStringLiteral(".\r\n")},
    }};
    return entries;
}

const Prosigns& prosigns(bool german) {
    static const Prosigns english{
        {QStringLiteral("<START>"), QStringLiteral("<BREAK>"), QStringLiteral("<ERROR>"), QStringLiteral("<EOM>"),
         QStringLiteral("<EOC>")},
        {QStringLiteral("Start"), QStringLiteral("Break"), QStringLiteral("Error"), QStringLiteral("EOM"),
         QStringLiteral("EOC")}};
    static const Prosigns deutsch{
        {QStringLiteral("<START>"), QStringLiteral("<PAUSE>"), QStringLiteral("<FEHLER>"), QStringLiteral("<EDM>"),
         QStringLiteral("<EDG>")},
        {QStringLiteral("Start"), QStringLiteral("Pause"), QStringLiteral("Fehler"), QStringLiteral("EDM"),
         QStringLiteral("EDG")}};
    return german ? deutsch : english;
}

QString character(int index, bool german) {
    if (index >= kFirstProsign && index < kFirstProsign + kProsigns)
        return prosigns(german).captions[size_t(index - kFirstProsign)];
    if (index < 0 || index >= kEntries) return QString();
    return table()[size_t(index)].character;
}

namespace {
// Entry by character, for the characters 0..46 (one character each).
int indexOfCharacter(QChar c) {
    static const QHash<QChar, int> byChar = [] {
        QHash<QChar, int> h;
        for (int i = 0; i <= kLastCharacter; ++i) h.insert(table()[size_t(i)].character[0], i);
        return h;
    }();
    return byChar.value(c.toUpper(), -1);
}

bool isLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// The prosign (0..4) whose tag ends the text, or -1.
int tagBefore(const QString& text, const Prosigns& p) {
    if (!text.endsWith(u'>')) return -1;
    for (int j = 0; j < kProsigns; ++j)
        if (text.endsWith(p.tags[size_t(j)])) return j;
    return -1;
}

// The prosign whose tag starts at position pos, or -1.
int tagAt(const QString& text, qsizetype pos, const Prosigns& p) {
    if (pos < 0 || pos >= text.size() || text[pos] != u'<') return -1;
    const QStringView rest = QStringView(text).mid(pos);
    for (int j = 0; j < kProsigns; ++j)
        if (rest.startsWith(p.tags[size_t(j)])) return j;
    return -1;
}
} // namespace

int indexOfCode(int code) {
    for (int i = 0; i <= kLastCharacter; ++i)
        if (table()[size_t(i)].code == code) return i;
    return -1;
}

int indexOfGroup(const QString& group) {
    static const QHash<QString, int> byGroup = [] {
        QHash<QString, int> h;
        for (int i = 0; i < kEntries; ++i) h.insert(table()[size_t(i)].morse, i);
        return h;
    }();
    return byGroup.value(group, -1);
}

QString letterSound(int index) {
    if (index >= 0 && index <= 25) return QChar(u'A' + index) + QStringLiteral(".au");
    if (index >= 26 && index <= 35) return table()[size_t(index)].character + QStringLiteral(".au");
    switch (index) {
    case 36: return QStringLiteral("Slash.au");
    case 39: return QStringLiteral("Period.au");
    case 40: return QStringLiteral("Comma.au");
    case 42: return QStringLiteral("QM.au");
    default: return QString();
    }
}

QString prosignSound(int prosign) {
    switch (prosign) {
    case 1: return QStringLiteral("Break.au");
    case 3: return QStringLiteral("EOM.au");
    case 4: return QStringLiteral("EOC.au");
    default: return QString();
    }
}

QString textToMorse(const QString& text, const Prosigns& p) {
    const auto& t = table();
    QString morse;
    morse.reserve(text.size() * 5);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isLineBreak(c)) {
            if (c == u'\n' && i > 0 && text[i - 1] == u'\r') continue;
            morse += QStringLiteral("\r\n");
            continue;
        }
        if (const int tag = tagAt(text, i, p); tag >= 0) {
            morse += t[size_t(kFirstProsign + tag)].morse;
            i += p.tags[size_t(tag)].size() - 1;
            continue;
        }
        if (const int index = indexOfCharacter(c); index >= 0) morse += t[size_t(index)].morse;
    }
    return morse;
}

QString morseToText(const QString& input, const Prosigns& p) {
    // A stray control character (a damaged document may hold one) is passed
    // over: the group it stands in still reads.
    QString morse = input;
    morse.removeIf([](QChar c) { return Ansi::isControl(c) && !isLineBreak(c); });
    QString text;
    qsizetype pos = 0;
    const qsizetype n = morse.size();
    while (pos < n) {
        const QChar c = morse[pos];
        if (isLineBreak(c)) {
            text += QStringLiteral("\r\n");
            pos += (c == u'\r' && pos + 1 < n && morse[pos + 1] == u'\n') ? 2 : 1;
            continue;
        }
        // A group runs up to and including its blank. One cut short by a
        // line break or the end of the text matches nothing; the line break
        // still counts.
        qsizetype end = pos;
        while (end < n && morse[end] != u' ' && !isLineBreak(morse[end])) ++end;
        if (end == n || morse[end] != u' ') {
            pos = end;
            continue;
        }
        const int index = indexOfGroup(morse.mid(pos, end - pos + 1));
        pos = end + 1;
        if (index < 0) continue;
        if (index >= kFirstProsign && index < kFirstProsign + kProsigns)
            text += p.tags[size_t(index - kFirstProsign)];
        else
            text += table()[size_t(index)].character;
    }
    return text;
}

namespace {
// The Morse text's last group with its blank; empty when the text does not
// end with a blank.
QStringView lastGroup(QStringView morse) {
    if (!morse.endsWith(u' ')) return {};
    qsizetype from = morse.size() - 1;
    while (from > 0 && morse[from - 1] != u' ' && !isLineBreak(morse[from - 1])) --from;
    return morse.sliced(from);
}
} // namespace

BackspaceEdit backspace(const QString& text, const QString& morse, const Prosigns& p) {
    BackspaceEdit edit;
    // The Morse box's final line break goes with the text's; a character
    // the table lacks after a line break leaves it standing.
    const bool textAtLineStart = text.isEmpty() || isLineBreak(text.back());
    if (textAtLineStart && morse.endsWith(QStringLiteral("\r\n"))) edit.morseRemove = 2;
    if (text.isEmpty()) return edit;

    QString group;
    if (const int tag = tagBefore(text, p); tag >= 0) {
        edit.textRemove = p.tags[size_t(tag)].size();
        group = table()[size_t(kFirstProsign + tag)].morse;
    } else {
        if (const int index = indexOfCharacter(text.back()); index >= 0) group = table()[size_t(index)].morse;
        // A line break and a character beyond 16 bits (a surrogate pair)
        // go whole.
        const bool pair = text.size() >= 2 && text.back().isLowSurrogate() && text[text.size() - 2].isHighSurrogate();
        edit.textRemove = text.endsWith(QStringLiteral("\r\n")) || pair ? 2 : 1;
    }
    // Only the group the Morse box really ends with goes: a Morse text
    // converted or opened as a whole does not follow the text's edits.
    if (!group.isEmpty() && lastGroup(QStringView(morse).first(morse.size() - edit.morseRemove)) == group)
        edit.morseRemove += group.size();
    return edit;
}

} // namespace Morse
