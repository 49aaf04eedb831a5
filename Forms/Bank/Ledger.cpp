#include "Forms/Bank/Ledger.h"

#include "Platform/Errors.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <cmath>

namespace Ledger {

Money toMoney(double value) { return Money(std::llround(value * double(kUnit))); }
double toDouble(Money m) { return double(m) / double(kUnit); }

namespace {

// The column names of one register.
struct Columns {
    QString table, key, date, amount, balance, link;
};
const Columns& columns(Register r) {
    static const Columns chk{"Checkings", "Chk_Entry", "Chk_Date", "Chk_Transaction", "Chk_Balance", "Sav_Entry"};
    static const Columns sav{"Savings", "Sav_Entry", "Sav_Date", "Sav_Transaction", "Sav_Balance", "Chk_Entry"};
    return r == Register::Checkings ? chk : sav;
}

// The columns readEntry() reads, in its order; savings rows have no
// number, payee, description, category or mark.
QString selectList(Register r) {
    const Columns& c = columns(r);
    const QString common = c.key + ", " + c.date + ", " + c.amount + ", " + c.balance + ", " + c.link;
    if (r == Register::Checkings) return common + ", Chk_Number, Chk_Payee, Chk_Description, Chk_Category, Chk_Check";
    return common + ", NULL, NULL, NULL, -1, 0";
}

// Every statement goes through the connection, which refuses to run on
// once the engine has ended the transaction of the user's operation.
QSqlQuery run(Ado::Connection& c, const QString& sql, const QVariantList& binds = {}) {
    QSqlQuery q = c.prepare(sql);
    c.exec(q, binds);
    return q;
}

QVariant nullable(const std::optional<qint64>& v) { return v ? QVariant(*v) : QVariant(); }
std::optional<qint64> optionalOf(const QVariant& v) {
    if (v.isNull()) return std::nullopt;
    return v.toLongLong();
}
QString iso(const QDate& d) { return d.toString(Qt::ISODate); }

// A balance beyond what a stored amount holds is refused, as the
// currency type of the original overflowed: never wrapped round.
Money plus(Money a, Money b) {
    Money sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) throw Err::overflow();
    return sum;
}
// "yyyy-MM-dd" read by hand: registers are read thousands of rows at a time.
QDate isoDate(const QString& t) {
    if (t.size() != 10 || t[4] != u'-' || t[7] != u'-') return QDate::fromString(t, Qt::ISODate);
    auto number = [&](int from, int n) {
        int v = 0;
        for (int i = from; i < from + n; ++i) v = v * 10 + (t[i].unicode() - u'0');
        return v;
    };
    return QDate(number(0, 4), number(5, 2), number(8, 2));
}

Entry readEntry(const QSqlQuery& q) {
    Entry e;
    e.entry = q.value(0).toLongLong();
    e.date = isoDate(q.value(1).toString());
    e.amount = q.value(2).toLongLong();
    e.balance = q.value(3).toLongLong();
    e.link = optionalOf(q.value(4));
    e.number = optionalOf(q.value(5));
    e.payee = q.value(6).toString();
    e.description = q.value(7).toString();
    e.category = q.value(8).isNull() ? -1 : q.value(8).toInt();
    e.checked = q.value(9).toBool();
    return e;
}

std::optional<Entry> firstEntry(QSqlQuery& q) {
    if (!Ado::next(q)) return std::nullopt;
    return readEntry(q);
}

// "AccountNr = ?" and the period's conditions on the date column, with
// their values appended to `binds`.
QString periodCondition(Register r, const QString& account, Period p, QVariantList& binds) {
    const QString& date = columns(r).date;
    QString where = QStringLiteral("AccountNr = ?");
    binds << account;
    if (p.year > 0) {
        // A range on the ISO text keeps to the register's index.
        where += " AND " + date + " >= ? AND " + date + " < ?";
        binds << QString::asprintf("%04d-01-01", p.year) << QString::asprintf("%04d-01-01", p.year + 1);
    }
    if (p.month > 0) {
        where += " AND substr(" + date + ", 6, 2) = ?";
        binds << QString::asprintf("%02d", p.month);
    }
    return where;
}

} // namespace

void createSchema(Ado::Connection& c) {
    Ado::Transaction t(c);
    run(c, "CREATE TABLE ID (AccountNr TEXT PRIMARY KEY NOT NULL, LastName TEXT, FirstName TEXT)");
    run(c, "CREATE TABLE Checkings (Chk_Entry INTEGER PRIMARY KEY AUTOINCREMENT, AccountNr TEXT NOT NULL, "
           "Chk_Number INTEGER, Chk_Date TEXT NOT NULL, Chk_Payee TEXT, Chk_Description TEXT, "
           "Chk_Category INTEGER NOT NULL DEFAULT -1, Chk_Transaction INTEGER NOT NULL, "
           "Chk_Balance INTEGER NOT NULL, Chk_Check INTEGER NOT NULL DEFAULT 0, Sav_Entry INTEGER)");
    run(c, "CREATE INDEX Checkings_Register ON Checkings (AccountNr, Chk_Date, Chk_Entry)");
    run(c, "CREATE TABLE Savings (Sav_Entry INTEGER PRIMARY KEY AUTOINCREMENT, AccountNr TEXT NOT NULL, "
           "Sav_Date TEXT NOT NULL, Sav_Transaction INTEGER NOT NULL, Sav_Balance INTEGER NOT NULL, "
           "Chk_Entry INTEGER)");
    run(c, "CREATE INDEX Savings_Register ON Savings (AccountNr, Sav_Date, Sav_Entry)");
    t.commit();
}

void open(Ado::Connection& c, const QString& file) {
    try {
        c.Open(file);
    } catch (const RuntimeError& e) {
        // SQLite's "file is not a database": another program's file, or the
        // bank file of another format.
        if (e.number != 26) throw;
        throw RuntimeError(3343, QStringLiteral("\"%1\" is not a database of this program")
                                     .arg(QFileInfo(file).fileName()));
    }
    try {
        // A file without any table is new: a missing one is created empty,
        // and one left empty by a creation that never finished is taken up.
        if (c.tableCount() == 0) {
            createSchema(c);
            return;
        }
        for (const QString table : {"ID", "Checkings", "Savings"}) {
            if (!c.hasTable(table))
                throw RuntimeError(3078, QStringLiteral("The database holds no table '%1'").arg(table));
        }
    } catch (...) {
        c.Close();
        throw;
    }
}

bool accountExists(Ado::Connection& c, const QString& account) {
    QSqlQuery q = run(c, "SELECT 1 FROM ID WHERE AccountNr = ?", {account});
    return Ado::next(q);
}

void addAccount(Ado::Connection& c, const QString& account, const QString& lastName, const QString& firstName) {
    run(c, "INSERT INTO ID (AccountNr, LastName, FirstName) VALUES (?, ?, ?)", {account, lastName, firstName});
}

std::optional<Holder> holder(Ado::Connection& c, const QString& account) {
    QSqlQuery q = run(c, "SELECT AccountNr, LastName, FirstName FROM ID WHERE AccountNr = ?", {account});
    if (!Ado::next(q)) return std::nullopt;
    return Holder{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
}

QStringList accounts(Ado::Connection& c) {
    QStringList out;
    QSqlQuery q = run(c, "SELECT AccountNr FROM ID");
    while (Ado::next(q)) out << q.value(0).toString();
    return out;
}

QList<Entry> entries(Ado::Connection& c, Register r, const QString& account, Period period) {
    const Columns& k = columns(r);
    QVariantList binds;
    const QString where = periodCondition(r, account, period, binds);
    QSqlQuery q = run(
        c, "SELECT " + selectList(r) + " FROM " + k.table + " WHERE " + where + " ORDER BY " + k.date + ", " + k.key,
        binds);
    QList<Entry> out;
    while (Ado::next(q)) out << readEntry(q);
    return out;
}

std::optional<Entry> entry(Ado::Connection& c, Register r, qint64 key) {
    const Columns& k = columns(r);
    QSqlQuery q = run(c, "SELECT " + selectList(r) + " FROM " + k.table + " WHERE " + k.key + " = ?", {key});
    return firstEntry(q);
}

QList<int> years(Ado::Connection& c, Register r, const QString& account) {
    const Columns& k = columns(r);
    QSqlQuery q =
        run(c, "SELECT DISTINCT substr(" + k.date + ", 1, 4) FROM " + k.table + " WHERE AccountNr = ? ORDER BY 1",
            {account});
    QList<int> out;
    while (Ado::next(q)) out << q.value(0).toInt();
    return out;
}

bool checkNumberUsed(Ado::Connection& c, const QString& account, qint64 number, qint64 exceptKey) {
    QSqlQuery q = run(c, "SELECT 1 FROM Checkings WHERE AccountNr = ? AND Chk_Number = ? AND Chk_Entry <> ? LIMIT 1",
                      {account, number, exceptKey});
    return Ado::next(q);
}

Money lastBalance(Ado::Connection& c, Register r, const QString& account) {
    const Columns& k = columns(r);
    QSqlQuery q = run(c,
                      "SELECT " + k.balance + " FROM " + k.table + " WHERE AccountNr = ? ORDER BY " + k.date +
                          " DESC, " + k.key + " DESC LIMIT 1",
                      {account});
    return Ado::next(q) ? q.value(0).toLongLong() : 0;
}

Money total(Ado::Connection& c, Register r, const QString& account, Period period) {
    QVariantList binds;
    const QString where = periodCondition(r, account, period, binds);
    QSqlQuery q = run(c, "SELECT TOTAL(" + columns(r).amount + ") FROM " + columns(r).table + " WHERE " + where, binds);
    return Ado::next(q) ? Money(q.value(0).toLongLong()) : 0;
}

QList<std::pair<int, Money>> categoryTotals(Ado::Connection& c, const QString& account, Period period) {
    QVariantList binds;
    const QString where = periodCondition(Register::Checkings, account, period, binds);
    QSqlQuery q = run(c,
                      "SELECT Chk_Category, SUM(Chk_Transaction) FROM Checkings WHERE " + where +
                          " AND Chk_Category >= 0 GROUP BY Chk_Category ORDER BY Chk_Category",
                      binds);
    QList<std::pair<int, Money>> out;
    while (Ado::next(q)) out.append({q.value(0).toInt(), q.value(1).toLongLong()});
    return out;
}

std::optional<Place> placeOf(Ado::Connection& c, Register r, qint64 key) {
    std::optional<Entry> e = entry(c, r, key);
    if (!e) return std::nullopt;
    return Place{e->date, e->entry};
}

Neighbours neighboursOfDate(Ado::Connection& c, Register r, const QString& account, const QDate& date, qint64 exclude) {
    const Columns& k = columns(r);
    const QString head =
        "SELECT " + selectList(r) + " FROM " + k.table + " WHERE AccountNr = ? AND " + k.key + " <> ? AND ";
    Neighbours n;
    QSqlQuery before = run(c, head + k.date + " <= ? ORDER BY " + k.date + " DESC, " + k.key + " DESC LIMIT 1",
                           {account, exclude, iso(date)});
    n.before = firstEntry(before);
    QSqlQuery after =
        run(c, head + k.date + " > ? ORDER BY " + k.date + ", " + k.key + " LIMIT 1", {account, exclude, iso(date)});
    n.after = firstEntry(after);
    return n;
}

Neighbours neighboursOfEntry(Ado::Connection& c, Register r, const QString& account, qint64 key) {
    Neighbours n;
    const std::optional<Place> p = placeOf(c, r, key);
    if (!p) return n;
    const Columns& k = columns(r);
    const QString head =
        "SELECT " + selectList(r) + " FROM " + k.table + " WHERE AccountNr = ? AND (" + k.date + ", " + k.key + ") ";
    QSqlQuery before = run(c, head + "< (?, ?) ORDER BY " + k.date + " DESC, " + k.key + " DESC LIMIT 1",
                           {account, iso(p->date), p->entry});
    n.before = firstEntry(before);
    QSqlQuery after =
        run(c, head + "> (?, ?) ORDER BY " + k.date + ", " + k.key + " LIMIT 1", {account, iso(p->date), p->entry});
    n.after = firstEntry(after);
    return n;
}

qint64 addEntry(Ado::Connection& c, Register r, const QString& account, const Entry& e) {
    // The new row gets the highest entry number, so it stands after every
    // row of its own day.
    const Neighbours n = neighboursOfDate(c, r, account, e.date);
    const Money balance = plus(n.before ? n.before->balance : 0, e.amount);
    QSqlQuery q;
    if (r == Register::Checkings) {
        q = run(c,
                "INSERT INTO Checkings (AccountNr, Chk_Number, Chk_Date, Chk_Payee, Chk_Description, Chk_Category, "
                "Chk_Transaction, Chk_Balance, Chk_Check, Sav_Entry) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {account, nullable(e.number), iso(e.date), e.payee, e.description, e.category, e.amount, balance,
                 e.checked ? 1 : 0, nullable(e.link)});
    } else {
        q = run(c,
                "INSERT INTO Savings (AccountNr, Sav_Date, Sav_Transaction, Sav_Balance, Chk_Entry) "
                "VALUES (?, ?, ?, ?, ?)",
                {account, iso(e.date), e.amount, balance, nullable(e.link)});
    }
    return q.lastInsertId().toLongLong();
}

void updateEntry(Ado::Connection& c, Register r, const Entry& e) {
    if (r == Register::Checkings) {
        run(c,
            "UPDATE Checkings SET Chk_Number = ?, Chk_Date = ?, Chk_Payee = ?, Chk_Description = ?, "
            "Chk_Category = ?, Chk_Transaction = ?, Chk_Check = ?, Sav_Entry = ? WHERE Chk_Entry = ?",
            {nullable(e.number), iso(e.date), e.payee, e.description, e.category, e.amount, e.checked ? 1 : 0,
             nullable(e.link), e.entry});
    } else {
        run(c, "UPDATE Savings SET Sav_Date = ?, Sav_Transaction = ?, Chk_Entry = ? WHERE Sav_Entry = ?",
            {iso(e.date), e.amount, nullable(e.link), e.entry});
    }
}

void deleteEntry(Ado::Connection& c, Register r, qint64 key) {
    run(c, "DELETE FROM " + columns(r).table + " WHERE " + columns(r).key + " = ?", {key});
}

void setLink(Ado::Connection& c, Register r, qint64 key, std::optional<qint64> link) {
    const Columns& k = columns(r);
    run(c, "UPDATE " + k.table + " SET " + k.link + " = ? WHERE " + k.key + " = ?", {nullable(link), key});
}

int correct(Ado::Connection& c, Register r, const QString& account, const Place& from) {
    const Columns& k = columns(r);
    Ado::Transaction t(c);
    QSqlQuery seed = run(c,
                         "SELECT " + k.balance + " FROM " + k.table + " WHERE AccountNr = ? AND (" + k.date + ", " +
                             k.key + ") < (?, ?) ORDER BY " + k.date + " DESC, " + k.key + " DESC LIMIT 1",
                         {account, iso(from.date), from.entry});
    Money running = Ado::next(seed) ? seed.value(0).toLongLong() : 0;
    seed.finish();

    QSqlQuery rest =
        run(c,
            "SELECT " + k.key + ", " + k.amount + ", " + k.balance + " FROM " + k.table + " WHERE AccountNr = ? AND (" +
                k.date + ", " + k.key + ") >= (?, ?) ORDER BY " + k.date + ", " + k.key,
            {account, iso(from.date), from.entry});
    QList<std::pair<qint64, Money>> wrong;
    while (Ado::next(rest)) {
        running = plus(running, rest.value(1).toLongLong());
        if (rest.value(2).toLongLong() != running) wrong.append({rest.value(0).toLongLong(), running});
    }
    rest.finish();

    QSqlQuery write = c.prepare("UPDATE " + k.table + " SET " + k.balance + " = ? WHERE " + k.key + " = ?");
    for (const auto& [key, balance] : wrong) c.exec(write, {balance, key});
    t.commit();
    return int(wrong.size());
}

bool balancesHold(Ado::Connection& c, Register r, const QString& account) {
    Money running = 0;
    for (const Entry& e : entries(c, r, account)) {
        if (__builtin_add_overflow(running, e.amount, &running) || e.balance != running) return false;
    }
    return true;
}

} // namespace Ledger
