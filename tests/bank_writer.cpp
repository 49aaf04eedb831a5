// Books entries into a bank database until it is killed: back-dated
// entries into both registers and transfers between them, each one
// operation in one transaction, as the bank window books them. The kill
// test of tst_bank starts it and kills it at random moments.
//   bank_writer <database> <account> <seed>
#include "Forms/Bank/Ledger.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>

using Ledger::Register;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) return 2;
    const QString file = QString::fromLocal8Bit(argv[1]);
    const QString account = QString::fromLocal8Bit(argv[2]);
    QRandomGenerator rnd(quint32(QByteArray(argv[3]).toUInt()));
    Ado::Connection c(QStringLiteral("writer"));
    Ledger::open(c, file);
    std::puts("ready");
    std::fflush(stdout);
    for (;;) {
        const QDate date = QDate(2020, 1, 1).addDays(rnd.bounded(2200));
        const Ledger::Money amount = (qint64(rnd.bounded(20000)) - 10000) * 100 + 1;
        Ado::Transaction t(c);
        if (rnd.bounded(3) == 0) {
            Ledger::Entry out, in;
            out.date = in.date = date;
            out.amount = -std::abs(amount);
            in.amount = std::abs(amount);
            out.payee = QStringLiteral("Savings");
            out.description = QStringLiteral("Transfer");
            const qint64 chk = Ledger::addEntry(c, Register::Checkings, account, out);
            const qint64 sav = Ledger::addEntry(c, Register::Savings, account, in);
            Ledger::setLink(c, Register::Checkings, chk, sav);
            Ledger::setLink(c, Register::Savings, sav, chk);
            Ledger::correct(c, Register::Checkings, account, {date, chk});
            Ledger::correct(c, Register::Savings, account, {date, sav});
        } else {
            const Register r = rnd.bounded(2) ? Register::Checkings : Register::Savings;
            Ledger::Entry e;
            e.date = date;
            e.amount = amount;
            e.payee = QStringLiteral("'; DROP TABLE ID; --");
            const qint64 key = Ledger::addEntry(c, r, account, e);
            Ledger::correct(c, r, account, {date, key});
        }
        t.commit();
    }
}
