// The bank's running-balance correction and register display on a
// register of 10,000 entries, each against its floor on the same data:
//   correction: one entry booked before all others, then the balances
//     corrected; floor: SQLite rewriting every balance with one
//     window-function UPDATE in one transaction;
//   grid: the checkings grid filled with the 10,001 rows by the bank;
//     floor: a bare QTableWidget given the same cell texts.
//   transfer: a transfer dated before every entry of two registers of
//     100,000 entries each, booked through the bank window; floor: the
//     same two rows added, the two corrections they need and one filling
//     of each register's grid.
//   open: the book of those two registers opened, its file checked whole
//     once; floor: a bare QtSql connection running the same check.
// Prints the program's time, the floor's time and their ratio (median of
// several runs).
#include "Forms/Bank/Ledger.h"
#include "Forms/Bank/frmBank.h"
#include "Modules/modBank.h"
#include "Platform/App.h"
#include "Platform/MsgBox.h"
#include "Platform/Runtime.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

using Ledger::Register;

namespace {
constexpr int kEntries = 10000;
constexpr int kRuns = 7;
constexpr int kLargeEntries = 100000;
constexpr int kLargeRuns = 3;
const QString kAccount = QStringLiteral("4711");

double medianMs(const std::function<qint64()>& run) {
    QList<qint64> ns;
    for (int i = 0; i < kRuns; ++i) ns << run();
    std::sort(ns.begin(), ns.end());
    return double(ns[kRuns / 2]) / 1e6;
}

void report(const char* what, double program, double floor) {
    std::printf("%-12s program %9.2f ms   floor %9.2f ms   ratio %5.2f\n", what, program, floor, program / floor);
}

// A register of kEntries rows, one a day, balances right; then one more
// row dated before all of them, whose later balances are not yet corrected.
void build(const QString& file) {
    Ado::Connection c(QStringLiteral("build"));
    Ledger::open(c, file);
    Ado::Transaction t(c);
    Ledger::addAccount(c, kAccount, QStringLiteral("Doe"), QStringLiteral("Jane"));
    for (int i = 0; i < kEntries; ++i) {
        Ledger::Entry e;
        e.date = QDate(2000, 1, 1).addDays(i);
        e.amount = Ledger::toMoney((i % 7) * 10.25 - 20);
        e.payee = QStringLiteral("Payee %1").arg(i % 50);
        e.description = QStringLiteral("Entry %1").arg(i);
        e.number = i;
        Ledger::addEntry(c, Register::Checkings, kAccount, e);
    }
    Ledger::Entry early;
    early.date = QDate(1999, 12, 1);
    early.amount = Ledger::toMoney(12.5);
    Ledger::addEntry(c, Register::Checkings, kAccount, early);
    t.commit();
    c.Close();
}

// Two registers of kLargeEntries rows each over five years, balances right,
// written straight into the tables.
void buildLarge(const QString& file) {
    Ado::Connection c(QStringLiteral("build"));
    Ledger::open(c, file);
    Ado::Transaction t(c);
    Ledger::addAccount(c, kAccount, QStringLiteral("Doe"), QStringLiteral("Jane"));
    QSqlQuery chk(c.database()), sav(c.database());
    chk.prepare(QStringLiteral("INSERT INTO Checkings (AccountNr, Chk_Number, Chk_Date, Chk_Payee, Chk_Description, "
                               "Chk_Transaction, Chk_Balance) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    sav.prepare(QStringLiteral("INSERT INTO Savings (AccountNr, Sav_Date, Sav_Transaction, Sav_Balance) "
                               "VALUES (?, ?, ?, ?)"));
    Ledger::Money chkBalance = 0, savBalance = 0;
    for (int i = 0; i < kLargeEntries; ++i) {
        const QString date = QDate(2021, 1, 1).addDays(i / 55).toString(Qt::ISODate);
        const Ledger::Money amount = Ledger::toMoney((i % 7) * 10.25 - 20);
        chkBalance += amount;
        savBalance -= amount;
        chk.addBindValue(kAccount);
        chk.addBindValue(i);
        chk.addBindValue(date);
        chk.addBindValue(QStringLiteral("Payee %1").arg(i % 50));
        chk.addBindValue(QStringLiteral("Entry %1").arg(i));
        chk.addBindValue(amount);
        chk.addBindValue(chkBalance);
        sav.addBindValue(kAccount);
        sav.addBindValue(date);
        sav.addBindValue(-amount);
        sav.addBindValue(savBalance);
        if (!chk.exec() || !sav.exec()) std::printf("build failed: %s\n", qPrintable(chk.lastError().text()));
    }
    t.commit();
    c.Close();
}

// The bank window logged in to the account of "Bank.mdb".
class frmBank* logIn() {
    class frmBank* bank = frmBank();
    bank->Show();
    bank->optUser->setChecked(true);
    bank->txtPwd->setTextValue(kAccount);
    bank->cmdOK_Click();
    return bank;
}

void logOut(class frmBank* bank) {
    bank->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

qint64 timedCopy(const QString& pristine, const QString& file, const std::function<void(Ado::Connection&)>& work) {
    QFile::remove(file);
    QFile::copy(pristine, file);
    Ado::Connection c(QStringLiteral("timed"));
    Ledger::open(c, file);
    QElapsedTimer timer;
    timer.start();
    work(c);
    const qint64 ns = timer.nsecsElapsed();
    if (!Ledger::balancesHold(c, Register::Checkings, kAccount)) std::printf("balances wrong after the run\n");
    c.Close();
    return ns;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    App::setPath(dir.path());
    MsgBoxSeam::enable(true);
    const QString pristine = dir.filePath(QStringLiteral("pristine.mdb"));
    build(pristine);
    const QString work = dir.filePath(QStringLiteral("work.mdb"));

    const double correction = medianMs([&] {
        return timedCopy(pristine, work, [](Ado::Connection& c) {
            Ledger::correct(c, Register::Checkings, kAccount, {QDate(1999, 12, 1), 0});
        });
    });
    const double correctionFloor = medianMs([&] {
        return timedCopy(pristine, work, [](Ado::Connection& c) {
            Ado::Transaction t(c);
            QSqlQuery q(c.database());
            q.prepare(QStringLiteral(
                "UPDATE Checkings SET Chk_Balance = r.b FROM (SELECT Chk_Entry AS e, SUM(Chk_Transaction) OVER "
                "(ORDER BY Chk_Date, Chk_Entry) AS b FROM Checkings WHERE AccountNr = ?) AS r "
                "WHERE Checkings.Chk_Entry = r.e AND Checkings.Chk_Balance <> r.b"));
            q.addBindValue(kAccount);
            if (!q.exec()) std::printf("floor failed: %s\n", qPrintable(q.lastError().text()));
            t.commit();
        });
    });
    report("correction", correction, correctionFloor);

    // The register as the bank shows it.
    QFile::copy(pristine, BankFile());
    {
        Ado::Connection c(QStringLiteral("fix"));
        Ledger::open(c, BankFile());
        Ledger::correct(c, Register::Checkings, kAccount, {QDate(1999, 12, 1), 0});
        c.Close();
    }
    class frmBank* bank = frmBank();
    bank->Show();
    bank->optUser->setChecked(true);
    bank->txtPwd->setTextValue(kAccount);
    bank->cmdOK_Click();
    bank->cboYear->setCurrentIndex(bank->cboYear->count() - 1);
    const double fill = medianMs([&] {
        QElapsedTimer timer;
        timer.start();
        FillCheckingsGrid(bank);
        return timer.nsecsElapsed();
    });
    QList<QStringList> cells;
    for (int row = 0; row < bank->flxGrid->Rows(); ++row) {
        QStringList line;
        for (int col = 0; col < bank->flxGrid->Cols(); ++col) line << bank->flxGrid->TextMatrix(row, col);
        cells << line;
    }
    QTableWidget bare;
    bare.resize(bank->flxGrid->size());
    bare.show();
    const double fillFloor = medianMs([&] {
        QElapsedTimer timer;
        timer.start();
        bare.setRowCount(1);
        bare.setColumnCount(int(cells.first().size()));
        bare.setRowCount(int(cells.size()));
        for (int row = 0; row < cells.size(); ++row)
            for (int col = 0; col < cells[row].size(); ++col)
                bare.setItem(row, col, new QTableWidgetItem(cells[row][col]));
        return timer.nsecsElapsed();
    });
    report("grid fill", fill, fillFloor);
    std::printf("rows shown: %d\n", bank->flxGrid->Rows() - 1);
    logOut(bank);

    // A back-dated transfer between two large registers.
    const QString large = dir.filePath(QStringLiteral("large.mdb"));
    buildLarge(large);
    const QDate early(2020, 12, 1);
    const auto fresh = [&] {
        QFile::remove(BankFile());
        QFile::copy(large, BankFile());
        return logIn();
    };
    const auto median = [](QList<qint64> ns) {
        std::sort(ns.begin(), ns.end());
        return double(ns[ns.size() / 2]) / 1e6;
    };
    QList<qint64> transferNs, floorNs;
    int shownRows = 0;
    for (int run = 0; run < kLargeRuns; ++run) {
        class frmBank* b = fresh();
        b->cboFromTo->setCurrentIndex(0);
        b->txtDat[5]->setTextValue(Runtime::shortDate(early));
        b->txtDat[6]->setTextValue(QStringLiteral("50"));
        QElapsedTimer timer;
        timer.start();
        b->cmdTransfer_Click();
        transferNs << timer.nsecsElapsed();
        if (!MsgBoxSeam::shown().isEmpty()) std::printf("transfer said: %s\n", qPrintable(MsgBoxSeam::last().text));
        for (const Register r : {Register::Checkings, Register::Savings})
            if (!Ledger::balancesHold(cnBank(), r, kAccount)) std::printf("balances wrong after the transfer\n");
        shownRows = b->flxGrid->Rows() - 1;
        logOut(b);

        b = fresh();
        timer.restart();
        {
            Ado::Transaction t(cnBank());
            for (const Register r : {Register::Checkings, Register::Savings}) {
                Ledger::Entry e;
                e.date = early;
                e.amount = Ledger::toMoney(r == Register::Checkings ? -50 : 50);
                const qint64 key = Ledger::addEntry(cnBank(), r, kAccount, e);
                Ledger::correct(cnBank(), r, kAccount, {early, key});
            }
            t.commit();
        }
        FillCheckingsGrid(b);
        FillSavingsGrid(b);
        floorNs << timer.nsecsElapsed();
        logOut(b);
    }
    report("transfer", median(transferNs), median(floorNs));
    std::printf("registers of %d entries, %d checkings rows shown\n", kLargeEntries, shownRows);

    // Opening the book of both registers, which checks the whole file once,
    // against a bare connection running the same check; and what the check
    // adds to an open without it.
    const auto bareOpen = [&](bool check) {
        qint64 ns = 0;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bare"));
            db.setDatabaseName(large);
            QElapsedTimer timer;
            timer.start();
            db.open();
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            q.next();
            if (check) {
                q.exec(QStringLiteral("PRAGMA quick_check"));
                q.next();
            }
            ns = timer.nsecsElapsed();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bare"));
        return ns;
    };
    const double open = medianMs([&] {
        QElapsedTimer timer;
        timer.start();
        Ado::Connection c(QStringLiteral("opened"));
        Ledger::open(c, large);
        return timer.nsecsElapsed();
    });
    const double checked = medianMs([&] { return bareOpen(true); });
    report("open", open, checked);
    std::printf("the check of %d entries: %.2f ms\n", 2 * kLargeEntries, open - medianMs([&] { return bareOpen(false); }));
    return 0;
}
