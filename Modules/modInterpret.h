#pragma once
// The interpreter: a text translated word by word with the vocabulary of
// "Voc.mdb".
//
// The text is cut into pieces: a word is a run of word characters (a to z,
// ä, ö, ü, ß in either case, the hyphen inside a word, and combining marks
// after a letter, as in text pasted in decomposed form), followed by the
// character that ended it; every other character is a piece of its own and
// is copied unchanged. Words are looked up in composed form (NFC), while the
// text is written as it was given. Each word is looked up in fifteen passes, each a
// shape in which the word may stand in the source column of an entry:
//    1 W(…        2 W (…       3 W/…        4 W,…        5 …/W
//    6 …/W/…      7 …/W (…     8 …/W(…      9 …/W,…     10 …,W
//   11 …,W,…     12 …,W(…     13 …,W (…    14 …,W/…     15 W
// (letter case aside). Every pass writes all its hits, in the store's order,
// each translation preceded by " & " when the pass found more than one.
// A word no pass finds, four letters or longer, is tried once more in a
// base form derived by German suffix rules; a hyphenated word not found
// whole is cut at its hyphens, and from then on every hyphenated word of the
// run is cut at once. A word found nowhere is written as it stood.
//
// The engine works on plain text and gives the output as runs of text, each
// with the font it takes; the interpreter window writes them into its
// output box. The vocabulary of one run is read once, into WordIndex, whose
// fifteen lookups per word are hash lookups.
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace Ado {
class Connection;
}
class frmInterpret;

namespace Interpretation {

enum class Style { General, Translated, OldWord };

struct Run {
    QString text;
    Style style = Style::General;
    bool operator==(const Run&) const = default;
};

constexpr int kPasses = 15;

// Whether the character belongs to a word (the hyphen and marks included).
bool isWordChar(QChar c);
// Whether it is a letter of a word (the hyphen not).
bool isLetter(QChar c);
// The word's form for comparisons: composed (NFC), then folded as the word
// store folds for its own searches (case-folded over all of Unicode, a
// sharp s as "ss"), so both agree on what matches.
QString fold(const QString& text);

// The base form that the first matching suffix rule derives from a word of
// four characters or more; no value when none applies.
std::optional<QString> stemOf(const QString& word);

// The vocabulary of one run: for each entry its source text (the column the
// words are looked up in) and the translation shown, in the store's order.
// Every shape of the table above is a key of one hash, made when the first
// word is looked up.
class WordIndex {
public:
    void add(const QString& source, const QString& shown);
    qsizetype size() const { return shown_.size(); }

    struct Hit {
        int pass; // 0 to 14
        int entry;
    };
    // Every shape the word (in folded form) stands in, entry by entry in
    // the store's order.
    QList<Hit> hits(const QString& foldedWord) const;
    // Whether any pass finds the word (in folded form).
    bool has(QStringView foldedWord) const;
    // The longest word any pass can find: a longer one is found nowhere.
    qsizetype longestKey() const;
    const QString& shown(int entry) const { return shown_[entry]; }

private:
    void build() const;

    QString folded_;             // the folded sources, one after another
    QList<qsizetype> starts_;    // where each entry's source begins in folded_
    QList<QString> shown_;
    struct Posting {
        Hit hit;
        int next; // the next posting of the same key, -1 at the last
    };
    mutable QList<Posting> postings_;
    struct Chain {
        int first, last;
        int entryFirst; // the first posting of the last entry in the chain
    };
    mutable QHash<QStringView, Chain> keys_;
    mutable qsizetype longestKey_ = 0;
    mutable bool built_ = false;
};

// Reads the entries of one category ("" for all) in the direction asked.
WordIndex readIndex(Ado::Connection& c, const QString& category, bool englishToGerman);
// The same, kept while the word store does not change: a second run over
// the same category and direction looks its words up at once.
const WordIndex& cachedIndex(Ado::Connection& c, const QString& category, bool englishToGerman);

struct Options {
    bool showOld = false;
};

// The retry state of one lookup: set while a derived base form is looked up.
extern bool StemRetry;
extern QString OriginalWord;
extern bool WordFound;

// Looks one word up and appends what it writes to `out`.
void WriteOutput(const WordIndex& index, const Options& options, const QString& word, QList<Run>& out);

// Interprets the whole text. `progress` receives the characters consumed so
// far and the text's length.
QList<Run> interpret(const QString& text, const WordIndex& index, const Options& options,
                     const std::function<void(qsizetype done, qsizetype total)>& progress = {});

} // namespace Interpretation
