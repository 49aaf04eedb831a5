#pragma once
// The bank's store: "Bank.mdb", a SQLite database with the accounts (`ID`)
// and the two registers of every account (`Checkings`, `Savings`). No
// widget appears here; the bank window, clsBank and the tests call it.
//
// What every writer keeps:
//   - Register order: an account's rows of one register ordered by date,
//     then by entry number. A new row gets a higher entry number than
//     every row before it, so rows of one day stand in the order added.
//   - Running balance: in register order each row's stored balance is the
//     balance of the row before plus its own amount; the first row's
//     balance is its amount. After a write that puts a row anywhere but
//     at the end (or changes or removes one), correct() rewrites the
//     balances from the earliest place the write touched. Every balance
//     lies within the range of Money: a write that would put one beyond
//     it is refused whole (Err::overflow()), never wrapped round.
//   - Transfer pairs: the two halves name each other in their link field
//     (`Checkings.Sav_Entry`, `Savings.Chk_Entry`); a plain row has Null.
// Dates are stored as ISO text (yyyy-MM-dd), amounts and balances as whole
// ten-thousandths, entry numbers as 64-bit keys. Every value is bound.
// Several writes that form one user operation run in one transaction of
// the caller (Ado::Transaction); the functions here join it.
#include "Platform/Ado.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace Ledger {

// Money in ten-thousandths of the currency unit.
using Money = qint64;
constexpr Money kUnit = 10000;
Money toMoney(double value);
double toDouble(Money m);

enum class Register { Checkings, Savings };

// Opens the bank's database on `c`. A missing file, or a database holding
// no table at all (an empty file), gets the empty tables; any other file
// must be a database holding the three tables, else RuntimeError is thrown
// (3343 for a file that is no SQLite database) and the file is left as it
// was. Every read throws when the database fails during it.
void open(Ado::Connection& c, const QString& file);
// Creates the tables and indexes in an empty database.
void createSchema(Ado::Connection& c);

// --- Accounts -----------------------------------------------------------

bool accountExists(Ado::Connection& c, const QString& account);
void addAccount(Ado::Connection& c, const QString& account, const QString& lastName, const QString& firstName);
struct Holder {
    QString account, lastName, firstName;
};
std::optional<Holder> holder(Ado::Connection& c, const QString& account);

// --- Reading registers --------------------------------------------------

struct Entry {
    qint64 entry = 0; // assigned by the database
    QDate date;
    Money amount = 0;             // signed: + deposit, - payment
    Money balance = 0;            // running balance after this row
    std::optional<qint64> number; // check number (checkings only)
    QString payee, description;   // checkings only
    int category = -1;            // budget category, -1 none (checkings only)
    bool checked = false;         // reconciled (checkings only)
    std::optional<qint64> link;   // the other half of a transfer
};

// A filter by year and month; 0 means any.
struct Period {
    int year = 0;
    int month = 0;
};
// The account's rows of the register in register order, within `period`.
QList<Entry> entries(Ado::Connection& c, Register r, const QString& account, Period period = {});
std::optional<Entry> entry(Ado::Connection& c, Register r, qint64 key);
// The distinct years of the account's rows, ascending.
QList<int> years(Ado::Connection& c, Register r, const QString& account);
// Whether another checkings row of the account than `exceptKey` carries
// the check number.
bool checkNumberUsed(Ado::Connection& c, const QString& account, qint64 number, qint64 exceptKey);
// The balance of the account's last row in register order; 0 when none.
Money lastBalance(Ado::Connection& c, Register r, const QString& account);
// Sum of the amounts, and of the categorised checkings payments by
// category, within a period: what a budget built from the books reads.
Money total(Ado::Connection& c, Register r, const QString& account, Period period);
QList<std::pair<int, Money>> categoryTotals(Ado::Connection& c, const QString& account, Period period);

// --- Places in the register ---------------------------------------------

// A place in register order: a row's date and entry number.
struct Place {
    QDate date;
    qint64 entry = 0;
    bool operator<(const Place& o) const { return date != o.date ? date < o.date : entry < o.entry; }
};
std::optional<Place> placeOf(Ado::Connection& c, Register r, qint64 key);

// Where a row dated `date` would stand, leaving out the row `exclude` (an
// entry being edited): `before` is the last row dated on or before that
// day, `after` the first row after it; `last` tells whether no row follows.
struct Neighbours {
    std::optional<Entry> before;
    std::optional<Entry> after;
    bool last() const { return !after; }
};
Neighbours neighboursOfDate(Ado::Connection& c, Register r, const QString& account, const QDate& date,
                            qint64 exclude = 0);
// The rows right before and after the row `key` in register order.
Neighbours neighboursOfEntry(Ado::Connection& c, Register r, const QString& account, qint64 key);

// --- Writing ------------------------------------------------------------

// Adds a row (its entry number is assigned and returned). Its balance is
// the balance of the row before its place plus its amount; the rows after
// it are left for correct(). A balance beyond the range of Money throws
// Err::overflow() and adds nothing.
qint64 addEntry(Ado::Connection& c, Register r, const QString& account, const Entry& e);
// Rewrites every field of the row `e.entry` but its balance.
void updateEntry(Ado::Connection& c, Register r, const Entry& e);
void deleteEntry(Ado::Connection& c, Register r, qint64 key);
// Sets the transfer link of the row `key`.
void setLink(Ado::Connection& c, Register r, qint64 key, std::optional<qint64> link);

// Brings the running balances right from `from` to the end of the
// register: seeds from the stored balance of the row just before `from`
// (0 when none), reads the rest once in register order and rewrites only
// the balances that differ, in one transaction. Returns how many rows it
// rewrote. A balance beyond the range of Money throws Err::overflow()
// before anything is written.
int correct(Ado::Connection& c, Register r, const QString& account, const Place& from);

// Whether every stored balance of the account's register follows the
// running-balance rule.
bool balancesHold(Ado::Connection& c, Register r, const QString& account);
// Every account number of the table `ID`.
QStringList accounts(Ado::Connection& c);

} // namespace Ledger
