#pragma once
// The state the bank's window, clsBank and the budget share, the register
// fillers and the balance corrections. The state lives as long as the
// program; the bank window's load and log-in set it.
//
// How a write keeps the running balances (see Forms/Bank/Ledger.h): the
// writer notes the earliest place of the register it touched in
// ChkCorrectFrom or SavCorrectFrom (the added row; the earlier of the old
// and the new place of a changed row; the old place of a removed row) and
// then calls RecalcCheckingsBalances or RecalcSavingsBalances, inside the
// transaction of the user's operation.
#include "Forms/Bank/Ledger.h"

#include <QDate>
#include <QString>
#include <memory>
#include <optional>

class clsBank;
class frmBank;

// The one connection to "Bank.mdb", named "Bank": every log-in attempt
// opens it afresh, the window's unload closes it.
Ado::Connection& cnBank();
// Where "Bank.mdb" lives. Throws when it lies only beside the program and
// could not be copied to the data folder: the book is then not opened.
QString BankFile();

// The account book's object, made anew by the window's load.
extern std::unique_ptr<clsBank> objBank;

// Balance of the row just before the insertion point of a back-dated
// entry; 0 when there is none.
extern double dblPrevBalance;
// Rows shown in the current register, reconciled rows of the checkings one.
extern qint64 vEntryCount;
extern qint64 vCheckedCount;
// Entry numbers: the selected checkings row (or the checkings half of a
// transfer being booked), the savings half being booked, and the rows
// before and after an insertion or change point (0 = none).
extern qint64 vSelEntry;
extern qint64 vSelSavEntry;
extern qint64 vPrevEntry;
extern qint64 intNextEntry;

extern bool bNewTransaction;
extern bool bZeroAmount;
extern bool bEditEntry;
extern bool bDateForTransfer;
extern bool bExists;
extern bool bLoggedIn;
extern bool bDateOld;

// The earliest places the running write touched; the corrections start there.
extern Ledger::Place ChkCorrectFrom;
extern Ledger::Place SavCorrectFrom;

void FillCheckingsGrid(class frmBank* frm);
void FillSavingsGrid(class frmBank* frm);
// Bring the register's running balances right from its noted place and
// reload the last balance. Throws on a database failure: the caller's
// transaction then undoes the whole operation.
void RecalcCheckingsBalances(class frmBank* frm);
void RecalcSavingsBalances(class frmBank* frm);

// "5 Entries", with a second line "2 are reconciled" for the checkings
// register: the counts of the register filled last.
QString EntriesCaption(bool reconciled);

// The ten budget categories in the current language, by category number.
QStringList BudgetCategories();

// Texts of the bank's fields and cells.
namespace BankText {
// A date text as the computer's date settings read it (the short date
// form, or day, month and year in its order with "/", "-", "." or blanks);
// invalid when it is none.
QDate dateOf(const QString& text);
// An amount text by the computer's number settings, rounded to the cent as
// it is stored (the way "00.00" writes it: "0.00499" is 0.00, "-12.345" is
// -12.35), exactly, whatever its number of digits; none when the text is no
// number or beyond 100,000,000,000,000.
std::optional<Ledger::Money> amountOf(const QString& text);
// "dd.mm.yy" in the European date region, else "mm/dd/yy" with the
// computer's date separator.
QString gridDateFormat();
// A date in that form ("dd.mm.yy" or "mm/dd/yy" with its separator).
QString gridDate(const QDate& d, const QString& form);
// An amount as "00.00" (wholeDigits 2) or "0.00" (1): at least that many
// digits before the decimal separator, two after it, rounded half away from
// zero, the minus sign kept; exact over the whole range of Money.
QString money(Ledger::Money m, QChar decimalSeparator, int wholeDigits = 2);
} // namespace BankText
