#pragma once
// The account book's object: the account's running figures and the bank's
// operations on the window's fields. Each operation takes the bank window
// and reaches its controls by name; what it reads from or writes to
// "Bank.mdb" goes through Ledger.
//
// The checks answer "False" to reject and an empty text to pass;
// IsDateChanged answers "True" or "False".
#include "Forms/Bank/Ledger.h"
#include "Platform/QuotedLines.h"

#include <QString>

class frmBank;

class clsBank {
public:
    using Money = Ledger::Money;

    // Opens cnBank on "Bank.mdb"; on failure shows "Problem: OpenBankConnection"
    // and leaves the connection closed.
    void OpenBankConnection();
    void GetBalances(class frmBank* frm);
    void GetInfo(class frmBank* frm);
    void GetBudgetCat(class frmBank* frm);
    void FindYears(class frmBank* frm, const QString& table);
    void AddPayee(class frmBank* frm);
    void CheckIfPayeeExists(class frmBank* frm, const QString& payee);
    // The year of the date in the entry date field joins the year list.
    void AddYear(class frmBank* frm);
    void AddYear(class frmBank* frm, int year);
    void CheckIfYearExists(class frmBank* frm, const QString& year);
    void AddCat(class frmBank* frm);
    void CheckForCheckingsChange(class frmBank* frm);
    void CheckForSavingsChange(class frmBank* frm);
    void UpdateCheckings(class frmBank* frm);
    void UpdateSavings(class frmBank* frm);
    // The list saved, then its total shown. Throws when the file cannot be
    // written.
    void TotalDebts(class frmBank* frm);
    // The total of the list shown, nothing written (the log-in).
    void ShowDebtsTotal(class frmBank* frm);
    QString CheckIfValidNumber(class frmBank* frm);
    QString CheckIfValidFields(class frmBank* frm);
    QString CheckIfValidTransfer(class frmBank* frm);
    QString IsDateChanged(class frmBank* frm);
    // The debts list from "<account>Debts.qem"; a missing file is an empty
    // list, one that cannot be read (or is no text) is named in a message
    // (once: not again when a failed save reads it back) and shows as an
    // empty list, which no save puts in its place. Lines that cannot be
    // read are kept in DebtsKept, and the user is told once how many.
    void LoadDebts(class frmBank* frm);
    // Whether the account has a debts file (one may outlive a lost database).
    bool DebtsFileExists(class frmBank* frm);
    // The debt at `row` left the list: the lines set aside after it move up.
    void DebtRemoved(int row);
    void IsChk_DateOld(class frmBank* frm);
    void IsSav_DateOld(class frmBank* frm);
    void FindNextChk_Entry(class frmBank* frm);
    void FindNextSav_Entry(class frmBank* frm);
    // Writes the whole list; throws when the file cannot be written.
    void SaveDebts(class frmBank* frm);

    // Amounts in ten-thousandths.
    Money NewSavingsTransaction = 0;
    Money OldSavingsTransaction = 0;
    Money WrongBalance = 0;
    Money LastDebtsBalance = 0;
    Money LastSavingsBalance = 0;
    Money LastCheckingsBalance = 0;
    Money NewCheckingsTransaction = 0;
    Money OldCheckingsTransaction = 0;
    QString OldDate;
    // What SaveDebts needs from the debts file's reading: the lines that
    // could not be read, written back where they stood among the debts,
    // and whether the file itself could be read.
    QuotedLines::Kept DebtsKept;

private:
    void IsDateOld(class frmBank* frm, Ledger::Register r);
};
