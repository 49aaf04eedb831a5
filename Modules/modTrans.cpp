#include "Modules/modTrans.h"

#include "Forms/Main/frmPrint.h"
#include "Forms/Translator/frmInterpret.h"
#include "Forms/Translator/frmTrans.h"
#include "Modules/modLanguage.h"
#include "Platform/App.h"
#include "Platform/Errors.h"
#include "Platform/FlexGrid.h"
#include "Platform/MsgBox.h"
#include "Platform/Numbers.h"
#include "Platform/OutOfMemory.h"
#include "Platform/Printer.h"
#include "Platform/Progress.h"
#include "Platform/SaveError.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QProgressBar>
#include <QRadioButton>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QVarLengthArray>

#include <limits>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <vector>

// --- The store ----------------------------------------------------------------

namespace VocStore {
namespace {

// What the database engine reports when a statement needs a row that is not there.
RuntimeError noCurrentRecord() {
    return {3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                 "Requested operation requires a current record.")};
}

quint64 changes = 0;

// --- Comparing words on the store's connection ---
// SQLite's own LIKE and NOCASE fold ASCII letters only ("Über" would miss
// "über") and its order puts umlauts after "z". The connection gets a LIKE
// that folds every letter as Qt does, and the sharp s as "ss", the way
// fold() does for the interpreter's word index, so both find the same
// words; and a collation "German".

// Calls `take` with every character (code point) of a text.
template <class F> void eachCodePoint(QStringView text, F&& take) {
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t ch = s[i];
        if (QChar::isHighSurrogate(ch) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            ch = QChar::surrogateToUcs4(s[i], s[i + 1]);
            ++i;
        }
        take(ch);
    }
}

// Calls `take` with the characters a character compares as: its case-folded
// form; a sharp s (either case) as "ss".
template <class F> void eachFolded(char32_t ch, F&& take) {
    const char32_t folded = QChar::toCaseFolded(ch);
    if (folded == U'ß') {
        take(U's');
        take(U's');
    } else {
        take(folded);
    }
}

// One step of a LIKE pattern: any run, one stored character, or this
// (folded) character.
struct Step {
    enum Kind { AnyRun, One, Char } kind;
    char32_t ch = 0;
};

// A pattern read once per statement (SQLite keeps it with the statement).
struct Pattern {
    std::optional<char32_t> escape;
    std::vector<Step> steps;
    bool anything = true; // only "any run" steps: every text matches
};

Pattern compile(QStringView pattern, std::optional<char32_t> escape) {
    Pattern p{escape, {}, true};
    bool escaped = false;
    eachCodePoint(pattern, [&](char32_t ch) {
        if (!escaped && escape && ch == *escape) {
            escaped = true;
            return;
        }
        if (!escaped && ch == U'%') {
            p.steps.push_back({Step::AnyRun});
        } else if (!escaped && ch == U'_') {
            p.steps.push_back({Step::One});
            p.anything = false;
        } else {
            eachFolded(ch, [&](char32_t f) { p.steps.push_back({Step::Char, f}); });
            p.anything = false;
        }
        escaped = false;
    });
    // An escape at the very end stands for itself.
    if (escaped) eachFolded(*escape, [&](char32_t f) { p.steps.push_back({Step::Char, f}); });
    return p;
}

// A stored text as the comparison sees it: its folded characters, and where
// each stored character begins (a sharp s folds to two).
struct Folded {
    std::vector<char32_t> units;
    std::vector<bool> starts;
};

void foldInto(Folded& out, QStringView text) {
    out.units.clear();
    out.starts.clear();
    eachCodePoint(text, [&](char32_t ch) {
        bool first = true;
        eachFolded(ch, [&](char32_t f) {
            out.units.push_back(f);
            out.starts.push_back(first);
            first = false;
        });
    });
}

// Matches from the left; at a mismatch after an "any run" it takes that run
// one character longer, which finds a match whenever there is one: each
// other step's reach is fixed by where it starts and grows with it ("_"
// takes the whole stored character it starts at, a sharp s too).
bool likeMatch(const std::vector<Step>& pattern, const Folded& text) {
    const size_t n = text.units.size();
    size_t p = 0, t = 0, runText = 0;
    std::optional<size_t> runAt;
    while (t < n) {
        if (p < pattern.size() && pattern[p].kind == Step::AnyRun) {
            runAt = p++;
            runText = t;
        } else if (p < pattern.size() && pattern[p].kind == Step::Char && pattern[p].ch == text.units[t]) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p].kind == Step::One && text.starts[t]) {
            ++p;
            do ++t;
            while (t < n && !text.starts[t]);
        } else if (runAt) {
            p = *runAt + 1;
            t = ++runText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p].kind == Step::AnyRun) ++p;
    return p == pattern.size();
}

// A value's text; the length is asked for after the text, as SQLite requires.
QStringView textOf(sqlite3_value* v) {
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(v));
    return {text, sqlite3_value_bytes16(v) / 2};
}

// like(pattern, text [, escape]), as "text Like pattern [Escape escape]" calls it.
void sqlLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    std::optional<char32_t> escape;
    if (argc == 3) {
        int count = 0;
        eachCodePoint(textOf(argv[2]), [&](char32_t ch) {
            escape = ch;
            ++count;
        });
        if (count != 1) return sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
    }
    // The pattern is read once per statement: SQLite keeps it for the next rows.
    const auto* pattern = static_cast<const Pattern*>(sqlite3_get_auxdata(ctx, 0));
    std::unique_ptr<Pattern> made;
    if (!pattern || pattern->escape != escape) {
        made = std::make_unique<Pattern>(compile(textOf(argv[0]), escape));
        pattern = made.get();
    }
    bool match = pattern->anything;
    if (!match) {
        // One buffer for every row.
        thread_local Folded text;
        foldInto(text, textOf(argv[1]));
        match = likeMatch(pattern->steps, text);
    }
    // SQLite may free it at once: it is not used after this.
    if (made) sqlite3_set_auxdata(ctx, 0, made.release(), [](void* p) { delete static_cast<Pattern*>(p); });
    sqlite3_result_int(ctx, match ? 1 : 0);
}

// A UTF-8 text of the database as UTF-16 in `buffer`, which is kept from one
// comparison to the next: sorting a million words compares twenty million
// times, and a new string each time would cost more than the comparison.
// A byte that starts no valid sequence reads as U+FFFD.
QStringView decoded(QVarLengthArray<char16_t, 256>& buffer, const char* text, int bytes) {
    // No character takes more UTF-16 units than UTF-8 bytes.
    buffer.resize(bytes);
    char16_t* out = buffer.data();
    const auto* s = reinterpret_cast<const uchar*>(text);
    qsizetype n = 0;
    for (int i = 0; i < bytes;) {
        const uchar lead = s[i];
        if (lead < 0x80) {
            out[n++] = lead;
            ++i;
            continue;
        }
        const int more = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
        char32_t ch = more == 3 ? lead & 0x07 : more == 2 ? lead & 0x0F : lead & 0x1F;
        int k = 1;
        while (more > 0 && k <= more && i + k < bytes && (s[i + k] & 0xC0) == 0x80) ch = (ch << 6) | (s[i + k++] & 0x3F);
        const bool valid = more > 0 && k == more + 1 && ch <= 0x10FFFF && !(ch >= 0xD800 && ch < 0xE000) &&
                           ch >= (more == 1 ? 0x80u : more == 2 ? 0x800u : 0x10000u);
        if (!valid) {
            out[n++] = 0xFFFD;
            i += std::max(1, k);
            continue;
        }
        if (ch >= 0x10000) {
            out[n++] = QChar::highSurrogate(ch);
            out[n++] = QChar::lowSurrogate(ch);
        } else {
            out[n++] = char16_t(ch);
        }
        i += k;
    }
    return {out, n};
}

// Case-blind German order (ä with a, ß with ss); texts that it takes for
// equal go in the order of their characters, so every order is the same.
int compareGerman(void* collator, int aBytes, const void* a, int bBytes, const void* b) {
    thread_local QVarLengthArray<char16_t, 256> first, second;
    const QStringView x = decoded(first, static_cast<const char*>(a), aBytes);
    const QStringView y = decoded(second, static_cast<const char*>(b), bBytes);
    const int order = static_cast<QCollator*>(collator)->compare(x, y);
    if (order != 0) return order;
    return x.compare(y, Qt::CaseSensitive);
}

void registerComparisons(Ado::Connection& c) {
    const QVariant handle = c.database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw RuntimeError(3706, QStringLiteral("Provider cannot be found. It may not be properly installed."));
    sqlite3* db = *static_cast<sqlite3* const*>(handle.constData());
    const auto check = [](int result) {
        if (result != SQLITE_OK) throw RuntimeError(result, QString::fromUtf8(sqlite3_errstr(result)));
    };
    const int text = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    check(sqlite3_create_function_v2(db, "like", 2, text, nullptr, sqlLike, nullptr, nullptr, nullptr));
    check(sqlite3_create_function_v2(db, "like", 3, text, nullptr, sqlLike, nullptr, nullptr, nullptr));
    auto collator = std::make_unique<QCollator>(QLocale(QLocale::German, QLocale::Germany));
    collator->setCaseSensitivity(Qt::CaseInsensitive);
    // From here SQLite owns the collator: it deletes it when the connection
    // closes or the collation is registered anew.
    check(sqlite3_create_collation_v2(db, "German", SQLITE_UTF8, collator.get(), compareGerman,
                                      [](void* p) { delete static_cast<QCollator*>(p); }));
    collator.release();
}

const QString kColumns = QStringLiteral("Select AutoNr, English, German, Category, Type From Vocabulary");

QString orderBy(Order order) {
    return order == Order::English ? QStringLiteral(" Order By English Collate German, AutoNr")
                                   : QStringLiteral(" Order By German Collate German, AutoNr");
}

// The rows of a query on kColumns, one at a time.
void eachRow(Ado::Connection& c, const QString& sql, const QVariantList& binds,
             const std::function<void(const Entry&)>& take) {
    QSqlQuery q = c.select(sql, binds);
    Entry e;
    while (Ado::next(q)) {
        e.autoNr = q.value(0).toLongLong();
        e.english = q.value(1).toString();
        e.german = q.value(2).toString();
        e.category = q.value(3).toString();
        e.type = q.value(4).toString();
        take(e);
    }
}

QStringList names(Ado::Connection& c, const QString& table) {
    QStringList out;
    Ado::Recordset rs;
    rs.Open(QStringLiteral("Select %1 From %1 Order By %1 Collate German").arg(table), c);
    while (!rs.Eof()) {
        out << rs.Fields(table).toString();
        rs.MoveNext();
    }
    rs.Close();
    return out;
}

bool hasName(Ado::Connection& c, const QString& table, const QString& name) {
    return c.scalar(QStringLiteral("Select Count(*) From %1 Where %1 = ?").arg(table), {name}).toLongLong() > 0;
}

void deleteName(Ado::Connection& c, const QString& field, const QString& name) {
    ++changes;
    Ado::Transaction t(c);
    c.Execute(QStringLiteral("Delete From Vocabulary Where %1 = ?").arg(field), {name});
    c.Execute(QStringLiteral("Delete From %1 Where %1 = ?").arg(field), {name});
    t.commit();
}

bool renameName(Ado::Connection& c, const QString& field, const QString& from, const QString& to) {
    if (hasName(c, field, to)) return false;
    ++changes;
    Ado::Transaction t(c);
    c.Execute(QStringLiteral("Update Vocabulary Set %1 = ? Where %1 = ?").arg(field), {to, from});
    c.Execute(QStringLiteral("Update %1 Set %1 = ? Where %1 = ?").arg(field), {to, from});
    t.commit();
    return true;
}

RuntimeError foreignStore() { return {3078, QStringLiteral("The database holds no vocabulary tables")}; }
RuntimeError unnumberedStore() {
    return {3078, QStringLiteral("The field AutoNr of the table Vocabulary is not numbered by the database: "
                                 "words added would get no number")};
}

// Whether AutoNr is the key the database gives every new row: the row id
// under another name. A plain column of that name (as a generic conversion
// of an old store makes it), or one declared "Integer Primary Key Desc"
// (a key of its own, kept in an index beside the row id), would leave new
// words without a number.
bool autoNrIsRowKey(Ado::Connection& c) {
    QSqlQuery q = c.select(QStringLiteral("Select name, type, pk From pragma_table_info('Vocabulary')"));
    int keys = 0;
    bool autoNr = false;
    while (Ado::next(q)) {
        if (q.value(2).toInt() == 0) continue;
        ++keys;
        autoNr = q.value(0).toString().compare(QLatin1String("AutoNr"), Qt::CaseInsensitive) == 0 &&
                 q.value(1).toString().compare(QLatin1String("Integer"), Qt::CaseInsensitive) == 0;
    }
    if (!autoNr || keys != 1) return false;
    // A table without row ids has no key the database assigns.
    try {
        c.scalar(QStringLiteral("Select rowid From Vocabulary Limit 0"));
    } catch (const RuntimeError&) {
        return false;
    }
    // The row id needs no index; a key of its own has one.
    return c.scalar(QStringLiteral("Select Count(*) From pragma_index_list('Vocabulary') Where origin = 'pk'"))
               .toLongLong() == 0;
}

// The store's tables checked, and made or repaired where that is sure to lose nothing.
void prepare(Ado::Connection& c) {
    registerComparisons(c);
    const QStringList words{QStringLiteral("Vocabulary"), QStringLiteral("Category"), QStringLiteral("Type")};
    int present = 0;
    for (const QString& t : words) present += c.hasTable(t) ? 1 : 0;
    const bool hasVersion = c.hasTable(QStringLiteral("Version"));
    if (present == words.size()) {
        if (!autoNrIsRowKey(c)) throw unnumberedStore();
        // The edition is the store's own bookkeeping: a store that lost it
        // gets it back as a new store starts, its words untouched.
        if (hasVersion && c.scalar(QStringLiteral("Select Count(*) From Version")).toLongLong() > 0) return;
        Ado::Transaction t(c);
        if (!hasVersion) c.Execute(QStringLiteral("Create Table Version (Version Double)"));
        c.Execute(QStringLiteral("Insert Into Version (Version) Values (?)"), {1.0});
        t.commit();
        return;
    }
    if (present > 0 || c.tableCount() > 0) throw foreignStore();
    Ado::Transaction t(c);
    c.Execute(QStringLiteral("Create Table Vocabulary (AutoNr Integer Primary Key AutoIncrement, English Text, "
                             "German Text, Category Text, Type Text)"));
    c.Execute(QStringLiteral("Create Table Category (Category Text)"));
    c.Execute(QStringLiteral("Create Table Type (Type Text)"));
    c.Execute(QStringLiteral("Create Table Version (Version Double)"));
    c.Execute(QStringLiteral("Insert Into Version (Version) Values (?)"), {1.0});
    t.commit();
}

} // namespace

void open(Ado::Connection& c, const QString& file) {
    c.Open(file);
    // A store that cannot be used, or not repaired (a read-only or locked
    // file), is not kept open: the window then offers nothing that needs it.
    try {
        prepare(c);
    } catch (...) {
        c.Close();
        throw;
    }
}

QString fold(const QString& text) {
    QString folded = text.toCaseFolded();
    if (folded.contains(u'ß')) folded.replace(u'ß', QStringLiteral("ss"));
    return folded;
}

QStringList categories(Ado::Connection& c) { return names(c, QStringLiteral("Category")); }
QStringList types(Ado::Connection& c) { return names(c, QStringLiteral("Type")); }
bool hasCategory(Ado::Connection& c, const QString& name) { return hasName(c, QStringLiteral("Category"), name); }
bool hasType(Ado::Connection& c, const QString& name) { return hasName(c, QStringLiteral("Type"), name); }
void addCategory(Ado::Connection& c, const QString& name) {
    c.Execute(QStringLiteral("Insert Into Category (Category) Values (?)"), {name});
}
void addType(Ado::Connection& c, const QString& name) {
    c.Execute(QStringLiteral("Insert Into Type (Type) Values (?)"), {name});
}

std::optional<Entry> entry(Ado::Connection& c, qint64 autoNr) {
    std::optional<Entry> found;
    eachRow(c, kColumns + QStringLiteral(" Where AutoNr = ?"), {autoNr}, [&](const Entry& e) { found = e; });
    return found;
}

Selection inCategory(const QString& category) { return {QStringLiteral(" Where Category = ?"), {category}}; }

Selection matching(const QString& english, const QString& german, const QString& category, const QString& type,
                   bool exactCategory, bool exactType) {
    const QString like = QStringLiteral(" Like ? Escape '\\'");
    return {QStringLiteral(" Where English") + like + QStringLiteral(" And German") + like + QStringLiteral(" And Category") +
                (exactCategory ? QStringLiteral(" = ?") : like) + QStringLiteral(" And Type") +
                (exactType ? QStringLiteral(" = ?") : like),
            {english, german, category, type}};
}

qint64 count(Ado::Connection& c, const Selection& s) {
    return c.scalar(QStringLiteral("Select Count(*) From Vocabulary") + s.where, s.binds).toLongLong();
}

void forEach(Ado::Connection& c, const Selection& s, Order order, const std::function<void(const Entry&)>& take) {
    eachRow(c, kColumns + s.where + orderBy(order), s.binds, take);
}

QList<Entry> list(Ado::Connection& c, const Selection& s, Order order) {
    QList<Entry> out;
    forEach(c, s, order, [&](const Entry& e) { out << e; });
    return out;
}

QList<Entry> listCategory(Ado::Connection& c, const QString& category, Order order) {
    return list(c, inCategory(category), order);
}

QList<Entry> find(Ado::Connection& c, const QString& english, const QString& german, const QString& category,
                  const QString& type, Order order, bool exactCategory, bool exactType) {
    return list(c, matching(english, german, category, type, exactCategory, exactType), order);
}

QString containsLiteral(const QString& text) {
    QString escaped;
    for (QChar ch : text) {
        if (ch == u'%' || ch == u'_' || ch == u'\\') escaped += u'\\';
        escaped += ch;
    }
    return u'%' + escaped + u'%';
}

quint64 generation() { return changes; }

qint64 add(Ado::Connection& c, const Entry& e) {
    ++changes;
    Ado::Transaction t(c);
    c.Execute(QStringLiteral("Insert Into Vocabulary (English, German, Category, Type) Values (?, ?, ?, ?)"),
              {e.english, e.german, e.category, e.type});
    const qint64 autoNr = c.scalar(QStringLiteral("Select last_insert_rowid()")).toLongLong();
    t.commit();
    return autoNr;
}

bool update(Ado::Connection& c, qint64 autoNr, const Entry& e) {
    ++changes;
    return c.Execute(QStringLiteral("Update Vocabulary Set English = ?, German = ?, Category = ?, Type = ? "
                                    "Where AutoNr = ?"),
                     {e.english, e.german, e.category, e.type, autoNr}) > 0;
}

bool remove(Ado::Connection& c, qint64 autoNr) {
    ++changes;
    return c.Execute(QStringLiteral("Delete From Vocabulary Where AutoNr = ?"), {autoNr}) > 0;
}

void deleteCategory(Ado::Connection& c, const QString& name) { deleteName(c, QStringLiteral("Category"), name); }
void deleteType(Ado::Connection& c, const QString& name) { deleteName(c, QStringLiteral("Type"), name); }
bool renameCategory(Ado::Connection& c, const QString& from, const QString& to) {
    return renameName(c, QStringLiteral("Category"), from, to);
}
bool renameType(Ado::Connection& c, const QString& from, const QString& to) {
    return renameName(c, QStringLiteral("Type"), from, to);
}

double version(Ado::Connection& c) {
    const QVariant v = c.scalar(QStringLiteral("Select Version From Version Order By rowid Limit 1"));
    if (!v.isValid() || v.isNull()) throw noCurrentRecord();
    return v.toDouble();
}

void raiseVersion(Ado::Connection& c) {
    // Whole thousandths, so that many runs add up without drift.
    const double next = double(qRound64(version(c) * 1000) + 1) / 1000;
    c.Execute(QStringLiteral("Update Version Set Version = ? Where rowid = (Select Min(rowid) From Version)"), {next});
}

QString versionText(double edition) {
    return Runtime::CStr(Runtime::CDbl(Runtime::Format(edition, QStringLiteral("#.000"))));
}

} // namespace VocStore

// --- The connection and the edition ------------------------------------------------

Ado::Connection* cnTrans = nullptr;
qint64 EntryCount = 0;
qint64 LastAutoNr = 0;
bool VersionRaised = false;

namespace {

std::unique_ptr<Ado::Connection> connection;

Ado::Connection& db() {
    if (!transConnectionOpen()) throw RuntimeError(3704, QStringLiteral("Operation is not allowed when the object is closed."));
    return *cnTrans;
}

// Runs a routine's body; a failure shows "Problem: <name>" and ends it.
template <class F> bool guarded(const char* name, F&& body) {
    try {
        body();
        return true;
    } catch (const RuntimeError& e) {
        ShowProblem(QString::fromLatin1(name), e.number, e.description);
    } catch (const std::bad_alloc&) {
        ShowOutOfMemory(QString::fromLatin1(name));
    } catch (const std::exception& e) {
        ShowProblem(QString::fromLatin1(name), 0, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace

int germanKey(int KeyAscii) {
    switch (KeyAscii) {
    case 59: return 246;  // ; ö
    case 39: return 228;  // ' ä
    case 91: return 252;  // [ ü
    case 58: return 214;  // : Ö
    case 34: return 196;  // " Ä
    case 123: return 220; // { Ü
    default: return KeyAscii;
    }
}

bool transConnectionOpen() { return cnTrans && cnTrans->State() == Ado::adStateOpen; }

void OpenTransConnection() {
    CloseTransConnection();
    connection = std::make_unique<Ado::Connection>(QStringLiteral("Voc"));
    cnTrans = connection.get();
    const auto refuse = [](int number, const QString& description) {
        const QString file = QDir::toNativeSeparators(App::dataFolder() + QStringLiteral("/Voc.mdb"));
        ShowProblem(QStringLiteral("OpenTransConnection"), number,
                    description + QStringLiteral("\n\n") +
                        L(QStringLiteral("The word store \"") + file +
                              QStringLiteral("\" cannot be used: adding, changing, deleting, searching and printing "
                                             "words are off until it opens."),
                          QStringLiteral("Der Wortspeicher \"") + file +
                              QStringLiteral("\" ist nicht zu gebrauchen: Hinzufügen, Ändern, Löschen, Suchen und "
                                             "Drucken sind aus, bis er sich öffnen lässt.")));
    };
    try {
        std::optional<RuntimeError> failed;
        const QString file = App::dataFile(QStringLiteral("Voc.mdb"), App::Access::Write, &failed);
        // A store that could not be copied to the data folder is not opened:
        // a new one there would hide the words beside the program.
        if (failed) throw *failed;
        VocStore::open(*cnTrans, file);
    } catch (const RuntimeError& e) {
        refuse(e.number, e.description);
    } catch (const std::exception& e) {
        refuse(0, QString::fromLocal8Bit(e.what()));
    }
}

void CloseTransConnection() {
    if (cnTrans && cnTrans->State() != Ado::adStateClosed) cnTrans->Close();
    cnTrans = nullptr;
    connection.reset();
}

void GetVersion() {
    guarded("GetVersion", [] {
        const QString text = VocStore::versionText(VocStore::version(db()));
        if (isFormLoaded<class frmTrans>()) frmTrans()->lblVersion->setCaption(QStringLiteral("v ") + text);
    });
}

bool UpdVersion(bool& raised) {
    raised = false;
    if (VersionRaised) return true;
    if (!guarded("UpdVersion", [] { VocStore::raiseVersion(db()); })) return false;
    raised = true;
    return true;
}

void editionRaised(bool raised) {
    if (!raised) return;
    VersionRaised = true;
    GetVersion();
}

// --- Categories and word types -----------------------------------------------------

int chosenIndex(const QComboBox* box) {
    const int current = box->currentIndex();
    if (current >= 0 && box->itemText(current) == box->currentText()) return current;
    return box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

namespace {

void fill(QComboBox* box, const QStringList& names) {
    const QSignalBlocker block(box);
    box->clear();
    for (int i = 0; i < names.size(); ++i) box->addItem(names[i], i + 1);
    box->setCurrentIndex(-1);
    if (box->isEditable()) box->setEditText(QString());
}

void setIndex(QComboBox* box, int index) {
    const QSignalBlocker block(box);
    box->setCurrentIndex(index);
    if (index < 0 && box->isEditable()) box->setEditText(QString());
}

// Setting the list's index is a choice the window reacts to, as a user's.
void chooseCategory(class frmTrans* frm, int index) {
    setIndex(frm->cboCategory, index);
    frm->cboCategory_Click();
}

int autoNrColumn(class frmTrans* frm) { return frm->chkType->isChecked() ? 4 : 3; }

// Cuts the grid to its heading row. The overlay goes with the rows: it
// belongs to a row that is gone.
void emptyGrid(class frmTrans* frm) {
    frm->fraDrag->hide();
    frm->flxGrid->clearRows();
}

// The AutoNr of the grid's current row, or no value.
std::optional<qint64> currentAutoNr(class frmTrans* frm) {
    const int row = frm->flxGrid->Row();
    if (row < 1 || row >= frm->flxGrid->Rows()) return std::nullopt;
    bool ok = false;
    const qint64 nr = frm->flxGrid->TextMatrix(row, autoNrColumn(frm)).toLongLong(&ok);
    if (!ok) return std::nullopt;
    return nr;
}

// Selects in the box the name of the current row's entry (field "Category" or "Type").
void selectEntryName(class frmTrans* frm, QComboBox* box, bool category) {
    const std::optional<qint64> nr = currentAutoNr(frm);
    if (!nr) throw VocStore::noCurrentRecord();
    const std::optional<VocStore::Entry> e = VocStore::entry(db(), *nr);
    if (!e) throw VocStore::noCurrentRecord();
    const int index = box->findText(category ? e->category : e->type, Qt::MatchExactly | Qt::MatchCaseSensitive);
    // A name missing from the list keeps the previous choice.
    if (index < 0) throw VocStore::noCurrentRecord();
    setIndex(box, index);
}

} // namespace

void LoadCats(class frmTrans* frm) {
    guarded("LoadCats", [frm] {
        const QStringList cats = VocStore::categories(db());
        fill(frm->cboCategory, cats);
        fill(frm->cboCategory2, cats);
        emptyGrid(frm);
    });
}

void LoadCats(class frmInterpret* frm) {
    guarded("LoadCats", [frm] { fill(frm->cboCategory, VocStore::categories(db())); });
}

std::optional<int> LoadNewCat(class frmTrans* frm, const QString& category) {
    std::optional<int> index;
    guarded("LoadNewCat", [&] {
        const QStringList cats = VocStore::categories(db());
        fill(frm->cboCategory, cats);
        fill(frm->cboCategory2, cats);
        const int at = int(cats.indexOf(category));
        if (at >= 0) index = at;
        emptyGrid(frm);
    });
    return index;
}

void LoadTypes(class frmTrans* frm) {
    guarded("LoadTypes", [frm] {
        const QStringList names = VocStore::types(db());
        fill(frm->cboType, names);
        fill(frm->cboType2, names);
        emptyGrid(frm);
    });
}

void GetCat(class frmTrans* frm) {
    guarded("GetCat", [frm] { selectEntryName(frm, frm->cboCategory2, true); });
}

void GetType(class frmTrans* frm) {
    guarded("GetType", [frm] { selectEntryName(frm, frm->cboType2, false); });
}

namespace {

// Stores the name typed in the entry's category (word type) box when no
// category (word type) has exactly that name; `added` tells whether it was new.
bool storeName(class frmTrans* frm, bool category, bool& added) {
    const QString name = (category ? frm->cboCategory2 : frm->cboType2)->currentText();
    added = false;
    return guarded(category ? "CheckCatExist" : "CheckTypeExist", [&] {
        if (category ? VocStore::hasCategory(db(), name) : VocStore::hasType(db(), name)) return;
        if (category) VocStore::addCategory(db(), name);
        else VocStore::addType(db(), name);
        added = true;
    });
}

} // namespace

bool CheckCatExist(class frmTrans* frm, bool& added) { return storeName(frm, true, added); }
bool CheckTypeExist(class frmTrans* frm, bool& added) { return storeName(frm, false, added); }

namespace {

struct NameTexts {
    const char* routine;
    QString nothingChosen, question, prompt, title, taken;
};

NameTexts categoryTexts(bool rename, const QString& name) {
    const QString quoted = u'\'' + name + u'\'';
    if (!rename)
        return {"DelCat", L(QStringLiteral("Please select a category first"), QStringLiteral("Bitte wählen Sie zuerst einen Bereich")),
                L(QStringLiteral("Do you really want to REMOVE the category ") + quoted + QStringLiteral(" with all its contents"),
                  QStringLiteral("Möchten Sie wirklich den Bereich ") + quoted + QStringLiteral(" mit all ihren Inhalten ENTFERNEN")),
                {}, {}, {}};
    return {"RenCat", L(QStringLiteral("Select category first"), QStringLiteral("Wählen Sie zuerst einen Bereich")),
            L(QStringLiteral("Do you really want to RENAME the category ") + quoted + QStringLiteral(" with all its contents"),
              QStringLiteral("Möchten Sie wirklich den Bereich ") + quoted + QStringLiteral(" mit all ihren Inhalten UMBENENNEN")),
            L(QStringLiteral("Please enter a new category name"), QStringLiteral("Bitte geben Sie einen neuen Bereichnamen ein")),
            L(QStringLiteral("Rename Category"), QStringLiteral("Bereich-Umbenennung")),
            L(QStringLiteral("The category you entered exists already"), QStringLiteral("Der von Ihnen eingegebene Bereich besteht bereits"))};
}

NameTexts typeTexts(bool rename, const QString& name) {
    const QString quoted = u'\'' + name + u'\'';
    const QString nothing = L(QStringLiteral("Select word type first"), QStringLiteral("Wählen Sie zuerst eine Wortart"));
    if (!rename)
        return {"DelType", nothing,
                L(QStringLiteral("Do you really want to REMOVE the type") + quoted + QStringLiteral(" with all its contents"),
                  QStringLiteral("Möchten Sie wirklich die Wortart ") + quoted + QStringLiteral(" mit all ihren Inhalten ENTFERNEN")),
                {}, {}, {}};
    return {"RenType", nothing,
            L(QStringLiteral("Do you really want to RENAME the type") + quoted + QStringLiteral(" with all its contents"),
              QStringLiteral("Möchten Sie wirklich die Wortart ") + quoted + QStringLiteral(" mit all ihren Inhalten UMBENENNEN")),
            L(QStringLiteral("Please enter a new word type name"), QStringLiteral("Bitte geben Sie eine neue Wortart ein")),
            L(QStringLiteral("Rename Word Type"), QStringLiteral("Wortart-Umbenennung")),
            L(QStringLiteral("The word type you entered exists already"), QStringLiteral("Die von Ihnen eingegebene Wortart besteht bereits"))};
}

// Deletes or renames the category or word type chosen in the window.
void changeName(class frmTrans* frm, bool category, bool rename) {
    QComboBox* box = category ? frm->cboCategory2 : frm->cboType2;
    const QString name = box->currentText();
    const NameTexts t = category ? categoryTexts(rename, name) : typeTexts(rename, name);
    if (chosenIndex(box) == -1) {
        MsgBox(t.nothingChosen, vbExclamation);
        return;
    }
    if (MsgBox(t.question, vbYesNo | vbQuestion) != vbYes) return;
    QString newName;
    if (rename) {
        // A name is one line of one cell, as the word and name boxes take it.
        newName = InputBox(t.prompt, t.title);
        newName.removeIf([](QChar ch) { return ch == u'\t' || ch == u'\r' || ch == u'\n'; });
        if (newName.isEmpty()) return;
    }
    bool done = false, raised = false;
    std::optional<Ado::Transaction> change;
    // The arrow is back however the change ends.
    struct Arrow {
        class frmTrans* form;
        ~Arrow() { form->setMousePointer(vbArrow); }
    } arrow{frm};
    guarded(t.routine, [&] {
        if (rename) {
            // Refuses the old name itself too; the same name in other letter case is another name.
            const bool taken = category ? VocStore::hasCategory(db(), newName) : VocStore::hasType(db(), newName);
            if (taken) {
                MsgBox(t.taken, vbExclamation);
                return;
            }
        }
        frm->setMousePointer(vbHourglass);
        change.emplace(db());
        if (category && rename) VocStore::renameCategory(db(), name, newName);
        else if (category) VocStore::deleteCategory(db(), name);
        else if (rename) VocStore::renameType(db(), name, newName);
        else VocStore::deleteType(db(), name);
        done = true;
    });
    // The edition is raised in the change's own transaction: both are
    // stored, or neither (a failure is shown once, and the store stays).
    if (!done || !UpdVersion(raised) || !guarded(t.routine, [&] { change->commit(); })) return;
    if (category) LoadCats(frm);
    else LoadTypes(frm);
    editionRaised(raised);
}

} // namespace

void DelCat(class frmTrans* frm) { changeName(frm, true, false); }
void DelType(class frmTrans* frm) { changeName(frm, false, false); }
void RenCat(class frmTrans* frm) { changeName(frm, true, true); }
void RenType(class frmTrans* frm) { changeName(frm, false, true); }

// --- The grid ---------------------------------------------------------------------

namespace {

VocStore::Order order(class frmTrans* frm) {
    return frm->optGerman->isChecked() ? VocStore::Order::German : VocStore::Order::English;
}

// A row's cells: its number, the words in the order of the sorting
// language, the word type where its column is shown, the AutoNr. Each value
// keeps its own cell, whatever it holds.
QStringList rowCells(class frmTrans* frm, qint64 number, const QString& english, const QString& german,
                     const QString& type, qint64 autoNr) {
    const bool germanFirst = frm->optGerman->isChecked();
    QStringList cells{QString::number(number), germanFirst ? german : english, germanFirst ? english : german};
    if (frm->chkType->isChecked()) cells << type;
    cells << QString::number(autoNr);
    return cells;
}

// Lists the `total` selected entries, numbered from EntryCount + 1, with the
// progress bar. The rows go straight from the store into the grid.
void listEntries(class frmTrans* frm, const VocStore::Selection& selection, qint64 total) {
    frm->fraDrag->hide();
    ProgressSteps progress(frm->prgBar, int(std::clamp<qint64>(total, 1, std::numeric_limits<int>::max())));
    qint64 done = 0;
    VocStore::forEach(db(), selection, order(frm), [&](const VocStore::Entry& e) {
        ++EntryCount;
        frm->flxGrid->addRow(rowCells(frm, EntryCount, e.english, e.german, e.type, e.autoNr));
        progress.step(++done);
    });
    progress.show(done);
}

// The grid row that shows the entry, or no value.
std::optional<int> rowOf(class frmTrans* frm, qint64 autoNr) {
    const int col = autoNrColumn(frm);
    for (int r = 1; r < frm->flxGrid->Rows(); ++r)
        if (frm->flxGrid->TextMatrix(r, col).toLongLong() == autoNr) return r;
    return std::nullopt;
}

void showRow(class frmTrans* frm, int row) {
    frm->flxGrid->setRow(row);
    frm->fraDrag->move(frm->fraDrag->x(), Form::px(frm->fraList->y() * 15 + frm->flxGrid->y() * 15 + frm->flxGrid->CellTop()));
}

// Lists the category chosen for the entry and brings the entry's row into view.
void reloadAt(class frmTrans* frm, qint64 autoNr) {
    frm->cboCategory2->setFocus();
    chooseCategory(frm, chosenIndex(frm->cboCategory2));
    const std::optional<int> row = rowOf(frm, autoNr);
    if (!row) return;
    // A few rows beyond the entry, so that it stands in view with its neighbours.
    showRow(frm, frm->flxGrid->Rows() - 8 > *row ? *row + 8 : *row);
}

} // namespace

void ShowCat(class frmTrans* frm) {
    if (frm->cboCategory->currentIndex() == -1) return;
    guarded("ShowCat", [frm] {
        frm->setMousePointer(vbHourglass);
        setIndex(frm->cboCategory2, frm->cboCategory->currentIndex());
        emptyGrid(frm);
        EntryCount = 0;
        const VocStore::Selection listed = VocStore::inCategory(frm->cboCategory->currentText());
        const qint64 total = VocStore::count(db(), listed);
        if (total == 0) {
            MsgBox(L(QStringLiteral("No records found"), QStringLiteral("Keine Einträge gefunden")), vbExclamation);
            frm->setMousePointer(vbArrow);
            return;
        }
        listEntries(frm, listed, total);
        frm->setMousePointer(vbArrow);
    });
}

qint64 FindEntry(class frmTrans* frm, bool isAdd) {
    if (isAdd && !frm->chkDuplicate->isChecked()) return 0;
    qint64 similar = 0;
    guarded("FindEntry", [&] {
        frm->setMousePointer(vbHourglass);
        frm->fraDrag->hide();
        // A search replaces whatever the grid shows: a listing, or rows
        // added in place that no listing counted.
        if (!isAdd && (EntryCount != 0 || frm->flxGrid->Rows() > 1)) {
            setIndex(frm->cboCategory, -1);
            setIndex(frm->cboType, -1);
            emptyGrid(frm);
            EntryCount = 0;
        }
        // Only the search box gives "%" and "_" their wildcard meaning; the
        // duplicate check looks for the texts as typed.
        auto pattern = [isAdd](const QString& text, bool contains) -> QString {
            if (text.isEmpty() || (isAdd && !contains)) return QStringLiteral("%");
            if (isAdd) return VocStore::containsLiteral(text);
            QString p = text;
            p.replace(u'\\', QStringLiteral("\\\\"));
            return contains ? u'%' + p + u'%' : p;
        };
        // A category or type that is a name of its list (chosen there, or
        // listed just before) narrows by exactly that name.
        const auto listed = [isAdd](const QComboBox* box) {
            return !isAdd && !box->currentText().isEmpty() && chosenIndex(box) >= 0;
        };
        const bool exactCategory = listed(frm->cboCategory2), exactType = listed(frm->cboType2);
        const VocStore::Selection found = VocStore::matching(
            pattern(frm->txtAdd[0]->text(), true), pattern(frm->txtAdd[1]->text(), true),
            exactCategory ? frm->cboCategory2->currentText() : pattern(frm->cboCategory2->currentText(), false),
            exactType ? frm->cboType2->currentText() : pattern(frm->cboType2->currentText(), false), exactCategory,
            exactType);
        const qint64 total = VocStore::count(db(), found);
        if (total == 0) {
            if (!isAdd) MsgBox(L(QStringLiteral("No records found"), QStringLiteral("Keine Einträge gefunden")), vbExclamation);
            frm->setMousePointer(vbArrow);
            return;
        }
        if (isAdd) {
            setIndex(frm->cboCategory, -1);
            setIndex(frm->cboType, -1);
            emptyGrid(frm);
            EntryCount = 0;
        }
        listEntries(frm, found, total);
        if (isAdd) {
            similar = EntryCount;
            MsgBox(L(QStringLiteral("Similar entry already exists"), QStringLiteral("Ähnlicher Eintrag besteht bereits")),
                   vbExclamation);
        }
        frm->setMousePointer(vbArrow);
    });
    return similar;
}

void ShowTypeColumn(class frmTrans* frm) {
    FlexGrid* g = frm->flxGrid;
    // The rows are listed anew in the new layout: reshaping them first
    // would only cost time (seconds for a large category).
    emptyGrid(frm);
    EntryCount = 0;
    if (frm->chkType->isChecked()) {
        g->setCols(5);
        g->setTextMatrix(0, 3, L(QStringLiteral("Type"), QStringLiteral("Art")));
        const int added = g->ColWidth(4);
        g->setColWidth(4, g->ColWidth(3));
        g->setColWidth(3, added);
    } else {
        g->setCols(4);
        g->setTextMatrix(0, 3, QString());
        g->setColWidth(3, 0);
    }
}

void EqualizeColumns(class frmTrans* frm) {
    FlexGrid* g = frm->flxGrid;
    int rest = g->width() * Form::twipsPerPixel - 2 * g->ColWidth(0) - g->ColWidth(3);
    if (g->Cols() == 5) rest -= g->ColWidth(4);
    const int w = std::max(0, rest / 2);
    g->setColWidth(1, w);
    g->setColWidth(2, w);
}

void ShowUpdate(class frmTrans* frm, const QString& mode) {
    guarded("ShowUpdate", [&] {
        FlexGrid* g = frm->flxGrid;
        if (frm->chkShowUpdate->isChecked()) {
            reloadAt(frm, LastAutoNr);
        } else if (mode == QLatin1String("Add")) {
            const int listed = frm->cboCategory->currentIndex();
            if (listed != -1 && chosenIndex(frm->cboCategory2) == listed) {
                const int n = g->Rows();
                g->addRow(rowCells(frm, n, frm->txtAdd[0]->text(), frm->txtAdd[1]->text(), frm->cboType2->currentText(),
                                   LastAutoNr));
                g->setFocus();
                showRow(frm, n);
            } else {
                setIndex(frm->cboCategory, -1);
                emptyGrid(frm);
            }
        } else if (mode == QLatin1String("Del")) {
            const int n = frm->lblNr->Caption().toInt();
            if (n >= 1 && n < g->Rows() && g->TextMatrix(n, autoNrColumn(frm)).toLongLong() == LastAutoNr) {
                g->RemoveItem(n);
                g->setRow(n - 1);
            }
        } else if (mode == QLatin1String("Upd")) {
            const int listed = frm->cboCategory->currentIndex();
            const int n = frm->lblNr->Caption().toInt();
            const bool rowThere = n >= 1 && n < g->Rows() && g->TextMatrix(n, autoNrColumn(frm)).toLongLong() == LastAutoNr;
            if ((listed == -1 || chosenIndex(frm->cboCategory2) == listed) && rowThere) {
                const bool germanFirst = frm->optGerman->isChecked();
                g->setTextMatrix(n, 1, frm->txtAdd[germanFirst ? 1 : 0]->text());
                g->setTextMatrix(n, 2, frm->txtAdd[germanFirst ? 0 : 1]->text());
                if (frm->chkType->isChecked()) g->setTextMatrix(n, 3, frm->cboType2->currentText());
                g->setRow(n);
            } else {
                // The entry moved to another category, or the lists were
                // reloaded for a new name: list the entry's category.
                reloadAt(frm, LastAutoNr);
            }
        }
    });
    frm->txtAdd[0]->clear();
    frm->txtAdd[1]->clear();
    frm->cboType2->setEditText(QString());
    frm->fraDrag->hide();
}

// --- Adding, changing and deleting words ------------------------------------------

QString CheckVocFields(class frmTrans* frm) {
    struct Field {
        QWidget* box;
        QString text, english, german;
    };
    const Field fields[] = {
        {frm->txtAdd[0], frm->txtAdd[0]->text(), QStringLiteral("Please enter English vocabulary"),
         QStringLiteral("Bitte geben Sie englischen Wortschatz an")},
        {frm->txtAdd[1], frm->txtAdd[1]->text(), QStringLiteral("Please enter German vocabulary"),
         QStringLiteral("Bitte geben Sie deutschen Wortschatz an")},
        {frm->cboCategory2, frm->cboCategory2->currentText(), QStringLiteral("Please enter a vocabulary category"),
         QStringLiteral("Bitte geben Sie einen Wortbereich an")},
        {frm->cboType2, frm->cboType2->currentText(), QStringLiteral("Please enter a word type"),
         QStringLiteral("Bitte geben Sie eine Wortart an")},
    };
    for (const Field& f : fields) {
        if (!f.text.isEmpty()) continue;
        MsgBox(L(f.english, f.german), vbExclamation);
        f.box->setFocus();
        return {};
    }
    return QStringLiteral("Valid");
}

namespace {

VocStore::Entry editedEntry(class frmTrans* frm) {
    return {0, frm->txtAdd[0]->text(), frm->txtAdd[1]->text(), frm->cboCategory2->currentText(),
            frm->cboType2->currentText()};
}

// Stores the edited entry (`store` gives its AutoNr) together with its
// category and word type where they are new, and the raised edition, in one
// transaction. Whatever step fails stops it there, its failure shown once
// (the engine may have ended the transaction with it), and leaves the store
// as it was. The lists show new names once stored.
bool saveEntry(class frmTrans* frm, const char* routine, const std::function<qint64(const VocStore::Entry&)>& store) {
    const VocStore::Entry e = editedEntry(frm);
    std::optional<Ado::Transaction> t;
    if (!guarded(routine, [&] { t.emplace(db()); })) return false;
    bool newCategory = false, newType = false, raised = false;
    if (!CheckCatExist(frm, newCategory) || !CheckTypeExist(frm, newType) || !UpdVersion(raised)) return false;
    qint64 autoNr = 0;
    if (!guarded(routine, [&] {
            autoNr = store(e);
            t->commit();
        }))
        return false;
    LastAutoNr = autoNr;
    editionRaised(raised);
    if (newCategory) setIndex(frm->cboCategory2, LoadNewCat(frm, e.category).value_or(-1));
    if (newType) {
        LoadTypes(frm);
        frm->cboType2->setEditText(e.type);
    }
    return true;
}

} // namespace

void AddVoc(class frmTrans* frm) {
    if (CheckVocFields(frm) != QLatin1String("Valid")) return;
    if (FindEntry(frm, true) > 0) return;
    if (saveEntry(frm, "AddVoc", [](const VocStore::Entry& e) { return VocStore::add(db(), e); }))
        ShowUpdate(frm, QStringLiteral("Add"));
}

void DelVoc(class frmTrans* frm) {
    if (!frm->fraDrag->isVisible()) {
        MsgBox(L(QStringLiteral("Select entry first"), QStringLiteral("Wählen Sie zuerst einen Eintrag")), vbExclamation);
        return;
    }
    // The row the overlay shows, whatever row is current now.
    const int r = frm->lblNr->Caption().toInt();
    const qint64 shown = frm->shownEntry;
    const QString number = frm->flxGrid->TextMatrix(r, 0);
    if (MsgBox(L(QStringLiteral("Do you really want to remove the entry '") + number + u'\'',
                 QStringLiteral("Möchten Sie den Eintrag '") + number + QStringLiteral("' wirklich entfernen")),
               vbYesNo | vbQuestion) != vbYes)
        return;
    // The deletion and the raised edition in one transaction: both, or neither.
    std::optional<Ado::Transaction> t;
    bool raised = false;
    const bool done = guarded("DelVoc", [&] { t.emplace(db()); }) && UpdVersion(raised) && guarded("DelVoc", [&] {
        if (!VocStore::remove(db(), shown)) throw VocStore::noCurrentRecord();
        t->commit();
        LastAutoNr = shown;
    });
    if (done) {
        editionRaised(raised);
        if (r == 1) {
            emptyGrid(frm);
            frm->txtAdd[0]->clear();
            frm->txtAdd[1]->clear();
            frm->cboType2->setEditText(QString());
        } else {
            ShowUpdate(frm, QStringLiteral("Del"));
        }
    }
    frm->fraDrag->hide();
}

void UpdVoc(class frmTrans* frm) {
    if (!frm->fraDrag->isVisible()) {
        MsgBox(L(QStringLiteral("Select entry first"), QStringLiteral("Wählen Sie zuerst einen Eintrag")), vbInformation);
        return;
    }
    if (CheckVocFields(frm) != QLatin1String("Valid")) return;
    // The entry the overlay shows, whatever row is current now.
    const qint64 shown = frm->shownEntry;
    if (saveEntry(frm, "UpdVoc", [shown](const VocStore::Entry& e) {
            if (!VocStore::update(db(), shown, e)) throw VocStore::noCurrentRecord();
            return shown;
        }))
        ShowUpdate(frm, QStringLiteral("Upd"));
}

// --- Printing ---------------------------------------------------------------------

int printPageTotal(int gridRows) {
    const int entries = std::max(0, gridRows - 1);
    return std::max(1, (entries + 47) / 48);
}

namespace {

constexpr int kRowsTopTenths = 7;   // the first row, 0.7 inch from the top
constexpr int kPageFullTenths = 103; // no row starts at 10.3 inch or below
constexpr int kFooterGapTenths = 6;  // the footer 0.6 inch below the last line
constexpr int kFooterLastTenths = 107; // and never below 10.7 inch, inside the printable area

// Print positions in whole tenths of an inch, written in the user's number format.
void setPosition(double x, int yTenths) {
    frmPrint()->txtX->setText(Runtime::CStr(x));
    frmPrint()->txtY->setText(Runtime::CStr(yTenths / 10.0));
}

void PrintCatHeadings(class frmTrans* frm) {
    FlexGrid* g = frm->flxGrid;
    setPosition(0.5, 2);
    frmPrint()->SetupPage(captionText(frm->lblCategory->Caption()) + QStringLiteral(": ") + frm->cboCategory->currentText());
    const double columns[] = {0.5, 1, 4, 7.8};
    for (int c = 0; c < 4; ++c) {
        setPosition(columns[c], 5);
        frmPrint()->SetupPage(c < g->Cols() ? g->TextMatrix(0, c) : QString());
    }
}

// `lastTenths`: the place of the page's last printed line.
void printFooter(int lastTenths) {
    setPosition(0.5, std::min(lastTenths + kFooterGapTenths, kFooterLastTenths));
    frmPrint()->SetupPage(L(QStringLiteral("Page "), QStringLiteral("Seite ")) + QString::number(Printer::instance().Page()) +
                          u'/' + frmPrint()->txtPages->text());
}

} // namespace

void PrintCat(class frmTrans* frm) {
    if (frm->cboCategory->currentIndex() == -1) {
        MsgBox(L(QStringLiteral("Select category first"), QStringLiteral("Wählen Sie zuerst einen Bereich")), vbExclamation);
        return;
    }
    const QString cat = frm->cboCategory->currentText();
    // With "Display Type" unticked the category is listed again before it is
    // printed: the question names the pages of that listing.
    qint64 rows = frm->flxGrid->Rows();
    if (!frm->chkType->isChecked() &&
        !guarded("PrintCat", [&] { rows = VocStore::count(db(), VocStore::inCategory(cat)) + 1; }))
        return;
    const QString pages = pagesText(printPageTotal(int(std::min<qint64>(rows, std::numeric_limits<int>::max()))));
    if (MsgBox(L(QStringLiteral("Do you really want to print out the category '") + cat + QStringLiteral("' (") + pages +
                     u')',
                 QStringLiteral("Möchten Sie den Bereich '") + cat + QStringLiteral("' (") + pages +
                     QStringLiteral(") wirklich ausdrucken")),
               vbYesNo | vbQuestion) != vbYes)
        return;
    frm->setMousePointer(vbHourglass);
    if (!frm->chkType->isChecked()) {
        frm->chkType->setChecked(true);
        frm->chkType_Click();
    }
    Printer& printer = Printer::instance();
    const bool done = guarded("PrintCat", [frm, &printer] {
        FlexGrid* g = frm->flxGrid;
        frmPrint()->txtPages->setText(QString::number(printPageTotal(g->Rows())));
        PrintCatHeadings(frm);
        int y = kRowsTopTenths;
        for (int r = 1; r < g->Rows(); ++r) {
            if (y >= kPageFullTenths) {
                printFooter(y - 2);
                printer.NewPage();
                PrintCatHeadings(frm);
                y = kRowsTopTenths;
            }
            const double columns[] = {0.5, 1, 4};
            for (int c = 0; c < 3; ++c) {
                setPosition(columns[c], y);
                frmPrint()->SetupPage(g->TextMatrix(r, c));
            }
            setPosition(7.8, y);
            frmPrint()->SetupPage(g->TextMatrix(r, 3).left(1));
            y += 2;
        }
        // With no row printed, the last line is the column titles at 0.5 inch.
        printFooter(y - 2);
        frmPrint()->PrintObj();
    });
    // A failed job ends here, told once.
    if (!done && printer.jobRunning()) printer.KillDoc();
    frm->setMousePointer(vbArrow);
}
