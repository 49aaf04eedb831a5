#pragma once
// The bank as the statement and budget tests need it: an account's rows
// written straight into the program folder's "Bank.mdb", then the bank
// opened from the menu and logged in to that account.
#include "Forms/Bank/Ledger.h"
#include "Forms/Bank/frmBank.h"
#include "Forms/Main/frmChoice.h"
#include "Platform/App.h"

#include <QDate>
#include <QRadioButton>

namespace BankFixture {

// A connection of the test's own, one transaction for all its rows.
struct Books {
    Ado::Connection c{QStringLiteral("bank-fixture")};
    std::unique_ptr<Ado::Transaction> t;
    explicit Books(const QString& account) : account(account) {
        Ledger::open(c, App::dataFile(QStringLiteral("Bank.mdb"), App::Access::Write));
        if (!Ledger::accountExists(c, account))
            Ledger::addAccount(c, account, QStringLiteral("Doe"), QStringLiteral("Jane"));
        t = std::make_unique<Ado::Transaction>(c);
    }
    ~Books() {
        t->commit();
        t.reset();
        c.Close();
    }
    // Rows are added in date order, so each balance follows the one before.
    void add(Ledger::Register r, const QDate& date, double amount, int category = -1) {
        Ledger::Entry e;
        e.date = date;
        e.amount = Ledger::toMoney(amount);
        e.payee = QStringLiteral("Shop");
        e.category = category;
        Ledger::addEntry(c, r, account, e);
    }
    QString account;
};

// The menu's bank button, then the log-in of the existing account.
inline class frmBank* logIn(const QString& account) {
    frmChoice()->cmdBank->click();
    class frmBank* f = frmBank();
    f->activateNow();
    f->optUser->click();
    f->txtPwd->setTextValue(account);
    f->cmdOK->click();
    return f;
}

} // namespace BankFixture
