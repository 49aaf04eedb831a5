#include "Modules/modInterpret.h"

#include "Modules/modTrans.h"
#include "Platform/Ado.h"
#include "Platform/Errors.h"

#include <QSqlQuery>

#include <algorithm>

namespace Interpretation {

bool StemRetry = false;
QString OriginalWord;
bool WordFound = false;

bool isLetter(QChar c) {
    const char16_t u = c.toLower().unicode();
    // The sharp s is a letter of German words ("Straße" is one word).
    return (u >= u'a' && u <= u'z') || u == u'ä' || u == u'ö' || u == u'ü' || u == u'ß';
}

// A combining mark (as in a word pasted in decomposed form, "a" and U+0308
// for "ä") continues the word it follows.
bool isWordChar(QChar c) { return c == u'-' || isLetter(c) || c.isMark(); }

QString fold(const QString& text) { return VocStore::fold(text.normalized(QString::NormalizationForm_C)); }

std::optional<QString> stemOf(const QString& word) {
    struct Rule {
        const char16_t* suffix;
        int remove;
        const char16_t* append;
    };
    // The first rule whose ending the word has applies.
    static const Rule rules[] = {
        {u"iere", 0, u"n"},   {u"iert", 1, u"en"},   {u"ierst", 2, u"en"},    {u"ierte", 2, u"en"},
        {u"ierten", 3, u"en"}, {u"iertem", 3, u"en"}, {u"ierter", 3, u"en"},   {u"t", 1, u"en"},
        {u"iertes", 3, u"en"}, {u"ierender", 5, u"en"}, {u"sten", 4, u""},      {u"ien", 1, u""},
        {u"ere", 3, u""},      {u"en", 2, u""},       {u"e", 1, u""},          {u"er", 2, u""},
        {u"es", 2, u""},       {u"s", 1, u""},
    };
    if (word.size() < 4) return std::nullopt;
    for (const Rule& r : rules) {
        if (!word.endsWith(QString::fromUtf16(r.suffix))) continue;
        return word.left(word.size() - r.remove) + QString::fromUtf16(r.append);
    }
    return std::nullopt;
}

// --- The index --------------------------------------------------------------------

namespace {

// The end of the run of word characters that starts at `from`.
qsizetype runEnd(QStringView s, qsizetype from) {
    while (from < s.size() && isWordChar(s[from])) ++from;
    return from;
}

// What follows a word inside an entry: "(", " (", "/", "," or nothing known.
enum Follow { Bracket, BlankBracket, Slash, Comma, Other };

Follow followAt(QStringView s, qsizetype at) {
    if (at >= s.size()) return Other;
    switch (s[at].unicode()) {
    case u'(': return Bracket;
    case u'/': return Slash;
    case u',': return Comma;
    case u' ': return at + 1 < s.size() && s[at + 1] == u'(' ? BlankBracket : Other;
    default: return Other;
    }
}

} // namespace

void WordIndex::add(const QString& source, const QString& shown) {
    starts_ << folded_.size();
    folded_ += fold(source);
    shown_ << shown;
    built_ = false;
}

void WordIndex::build() const {
    postings_.clear();
    keys_.clear();
    longestKey_ = 0;
    keys_.reserve(shown_.size() * 2);
    const QStringView all(folded_);
    for (int entry = 0; entry < int(shown_.size()); ++entry) {
        const qsizetype begin = starts_[entry];
        const qsizetype end = entry + 1 < starts_.size() ? starts_[entry + 1] : folded_.size();
        const QStringView s = all.sliced(begin, end - begin);
        // A word is a run of word characters, so in every shape of the table
        // the word is exactly the run of word characters at its place.
        auto key = [&](int pass, qsizetype from, qsizetype to) {
            if (to <= from) return;
            const int at = int(postings_.size());
            const QStringView word = s.sliced(from, to - from);
            auto it = keys_.find(word);
            if (it == keys_.end()) {
                keys_.insert(word, {at, at, at});
                longestKey_ = std::max(longestKey_, word.size());
            } else {
                // An entry is one hit of a pass, however often it has the
                // shape: the entry's postings are the chain's last ones, at
                // most one per pass, so this walk is short.
                if (postings_[it->last].hit.entry == entry) {
                    for (int p = it->entryFirst; p != -1; p = postings_[p].next)
                        if (postings_[p].hit.pass == pass) return;
                } else {
                    it->entryFirst = at;
                }
                postings_[it->last].next = at;
                it->last = at;
            }
            postings_ << Posting{{pass, entry}, -1};
        };
        key(14, 0, s.size());
        const qsizetype head = runEnd(s, 0);
        switch (followAt(s, head)) {
        case Bracket: key(0, 0, head); break;
        case BlankBracket: key(1, 0, head); break;
        case Slash: key(2, 0, head); break;
        case Comma: key(3, 0, head); break;
        case Other: break;
        }
        qsizetype tail = s.size();
        while (tail > 0 && isWordChar(s[tail - 1])) --tail;
        if (tail > 0 && tail < s.size()) {
            if (s[tail - 1] == u'/') key(4, tail, s.size());
            else if (s[tail - 1] == u',') key(9, tail, s.size());
        }
        for (qsizetype k = 0; k < s.size(); ++k) {
            const QChar mark = s[k];
            if (mark != u'/' && mark != u',') continue;
            const qsizetype after = runEnd(s, k + 1);
            if (after == k + 1) continue;
            const Follow f = followAt(s, after);
            if (mark == u'/') {
                if (f == Slash) key(5, k + 1, after);
                else if (f == BlankBracket) key(6, k + 1, after);
                else if (f == Bracket) key(7, k + 1, after);
                else if (f == Comma) key(8, k + 1, after);
            } else {
                if (f == Comma) key(10, k + 1, after);
                else if (f == Bracket) key(11, k + 1, after);
                else if (f == BlankBracket) key(12, k + 1, after);
                else if (f == Slash) key(13, k + 1, after);
            }
        }
    }
    built_ = true;
}

QList<WordIndex::Hit> WordIndex::hits(const QString& foldedWord) const {
    if (!built_) build();
    QList<Hit> out;
    const auto it = keys_.constFind(QStringView(foldedWord));
    if (it == keys_.cend()) return out;
    for (int p = it->first; p != -1; p = postings_[p].next) out << postings_[p].hit;
    return out;
}

bool WordIndex::has(QStringView foldedWord) const {
    if (!built_) build();
    return keys_.contains(foldedWord);
}

qsizetype WordIndex::longestKey() const {
    if (!built_) build();
    return longestKey_;
}

WordIndex readIndex(Ado::Connection& c, const QString& category, bool englishToGerman) {
    WordIndex index;
    const QString source = englishToGerman ? QStringLiteral("English") : QStringLiteral("German");
    const QString shown = englishToGerman ? QStringLiteral("German") : QStringLiteral("English");
    QString sql = QStringLiteral("Select %1, %2 From Vocabulary").arg(source, shown);
    if (!category.isEmpty()) sql += QStringLiteral(" Where Category = ?");
    sql += QStringLiteral(" Order By AutoNr");
    QSqlQuery q = c.select(sql, category.isEmpty() ? QVariantList{} : QVariantList{category});
    while (Ado::next(q)) index.add(q.value(0).toString(), q.value(1).toString());
    return index;
}

const WordIndex& cachedIndex(Ado::Connection& c, const QString& category, bool englishToGerman) {
    static struct {
        QString file, category;
        bool englishToGerman = false;
        quint64 generation = 0;
        std::optional<WordIndex> index;
    } cache;
    const quint64 generation = VocStore::generation();
    if (!cache.index || cache.file != c.file() || cache.category != category ||
        cache.englishToGerman != englishToGerman || cache.generation != generation) {
        cache.index.reset();
        cache.index = readIndex(c, category, englishToGerman);
        cache.file = c.file();
        cache.category = category;
        cache.englishToGerman = englishToGerman;
        cache.generation = generation;
    }
    return *cache.index;
}

// --- Looking up and interpreting ---------------------------------------------------------

namespace {
// Text in the general font joins the stretch before it when that is in the
// general font too; every translation stays a stretch of its own.
void writeGeneral(QList<Run>& out, QStringView text) {
    if (!out.isEmpty() && out.last().style == Style::General) out.last().text += text;
    else out << Run{text.toString(), Style::General};
}
} // namespace

void WriteOutput(const WordIndex& index, const Options& options, const QString& word, QList<Run>& out) {
    // Whatever way this call ends, the retry is over.
    const struct Reset {
        ~Reset() {
            StemRetry = false;
            OriginalWord.clear();
        }
    } reset;
    const QList<WordIndex::Hit> hits = index.hits(fold(word));
    // The passes in their order, each with its hits in the store's order.
    int count[kPasses] = {};
    for (const WordIndex::Hit& h : hits) ++count[h.pass];
    for (int pass = 0; pass < kPasses && !hits.isEmpty(); ++pass) {
        if (count[pass] == 0) continue;
        WordFound = true;
        const QString separator = count[pass] > 1 ? QStringLiteral(" & ") : QString();
        for (const WordIndex::Hit& h : hits) {
            if (h.pass != pass) continue;
            if (options.showOld) {
                out << Run{u'"' + word + u'"', Style::OldWord};
                writeGeneral(out, u" ");
            }
            out << Run{separator + index.shown(h.entry), Style::Translated};
        }
    }
    if (WordFound) return;
    // The rules read the word as composed: its marks are no characters of their own.
    const QString composed = word.normalized(QString::NormalizationForm_C);
    if (!StemRetry && composed.size() >= 4) {
        const QString original = word;
        if (const std::optional<QString> stem = stemOf(composed)) {
            StemRetry = true;
            OriginalWord = original;
            WriteOutput(index, options, *stem, out);
            return;
        }
    }
    writeGeneral(out, OriginalWord.isEmpty() ? word : OriginalWord);
}

namespace {
bool isLineBreak(QChar c) { return c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator; }
bool startsWithAsciiLetter(QChar c) { return c.unicode() >= 65 && c.unicode() <= 122; }

// The character at `at` as composed with the marks after it: "U" and a
// combining diaeresis are "Ü", as a composed text has it.
QChar composedAt(QStringView text, qsizetype at) {
    qsizetype end = at + 1;
    while (end < text.size() && text[end].isMark()) ++end;
    if (end == at + 1) return text[at];
    return text.sliced(at, end - at).toString().normalized(QString::NormalizationForm_C).front();
}

// Whether WriteOutput finds the word: itself or, four letters or longer,
// its base form.
bool findable(const WordIndex& index, const QString& word) {
    if (index.has(fold(word))) return true;
    const QString composed = word.normalized(QString::NormalizationForm_C);
    if (composed.size() < 4) return false;
    const std::optional<QString> stem = stemOf(composed);
    return stem && index.has(fold(*stem));
}
} // namespace

QList<Run> interpret(const QString& text, const WordIndex& index, const Options& options,
                     const std::function<void(qsizetype, qsizetype)>& progress) {
    QList<Run> out;
    WordFound = false;
    StemRetry = false;
    OriginalWord.clear();
    // Once a hyphenated word had to be cut, later ones are cut at once.
    bool split = false;
    const qsizetype n = text.size();
    // No longer word is found: a letter with up to three marks composes to
    // one character, folding never shortens, and a base form is at most
    // five characters shorter.
    const qsizetype findableLength = 4 * index.longestKey() + 5;
    // The run of word characters the current piece starts in, and its first
    // hyphen at or after the piece's start. A hyphenated chain is scanned
    // once however often it is cut, so time and memory stay linear.
    qsizetype runFrom = 0, runTo = 0, hyphen = 0;
    qsizetype pos = 0, reached = 0;
    while (pos < n) {
        // A cut word is read again; the bar does not go back for it.
        reached = std::max(reached, pos);
        if (progress) progress(reached, n);
        const qsizetype start = pos;
        if (isLineBreak(text[start])) {
            // CR LF, a lone CR or a lone LF: one line break each.
            pos += text[start] == u'\r' && start + 1 < n && text[start + 1] == u'\n' ? 2 : 1;
            writeGeneral(out, u"\n");
            continue;
        }
        if (start < runFrom || start >= runTo) {
            runFrom = hyphen = start;
            // A mark continues a word but starts none: alone, it is copied.
            runTo = text[start].isMark() ? start : runEnd(text, start);
        }
        while (hyphen < runTo && (hyphen < start || text[hyphen] != u'-')) ++hyphen;
        // A piece is a word with the character that ended it. An ASCII word
        // runs over its hyphens unless cutting is on; any other word, and
        // every word while cutting, ends at its first hyphen. A hyphen that
        // ends a piece before the text's end sets cutting for the next one.
        // The rules read the piece's first character as composed, so that a
        // decomposed umlaut counts as the umlaut.
        qsizetype end = runTo;
        const bool ascii = runTo > start && startsWithAsciiLetter(composedAt(text, start));
        if (runTo > start && (split || !ascii)) {
            end = std::min(hyphen, runTo);
            if (end < runTo && end + 1 < n) split = split && ascii;
        }
        const qsizetype len = end < n ? end - start + 1 : n - start;
        pos = start + len;
        const QStringView piece = QStringView(text).sliced(start, len);
        if (!isLetter(piece[0])) {
            writeGeneral(out, piece);
            continue;
        }
        qsizetype wordLength = len;
        QChar endChar;
        const QChar last = piece.back();
        if (last == u'-' || !isWordChar(last)) {
            --wordLength;
            // A line break is no end character: it is the next piece.
            if (isLineBreak(last)) --pos;
            else endChar = last;
        }
        // A hyphenated word found nowhere is cut at its hyphens, decided
        // before anything is written.
        if (hyphen < start + wordLength &&
            (wordLength > findableLength || !findable(index, piece.first(wordLength).toString()))) {
            split = true;
            pos = start;
            continue;
        }
        WriteOutput(index, options, piece.first(wordLength).toString(), out);
        WordFound = false;
        if (!endChar.isNull()) writeGeneral(out, QStringView(&endChar, 1));
    }
    WordFound = false;
    if (progress) progress(n, n);
    return out;
}

} // namespace Interpretation
